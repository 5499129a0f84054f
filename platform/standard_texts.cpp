#include "platform/standard_texts.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace platform {

bool InstallChineseStandardTexts(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (!translator->load("qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace platform
