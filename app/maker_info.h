#pragma once
// The texts that name this program's makers: its own name and home page, nothing else.
#include <QString>

#include "keyhaven_version.h"

namespace app {

namespace maker {

inline const QString kBrand = "keyhaven";
inline const QString kHomePage = "https://keyhaven.example";
inline const QString kTitle = "钥匣个人版";
// The home page's domain reversed: the desktop entry's name, the Wayland app id, the portals' id.
inline const QString kApplicationId = "example.keyhaven.Keyhaven";
inline const QString kVersion = KEYHAVEN_VERSION;

// The four pages the about tab links to, with their captions.
struct Page {
  QString caption;
  QString path;
};
inline const Page kMainPage{"keyhaven 主页", "/"};
inline const Page kDownloadPage{"下载新版本", "/download/"};
inline const Page kHelpPage{"使用帮助", "/help/"};
inline const Page kIssuesPage{"问题反馈", "/issues/"};

// A page's address carries "?qq=Keyhaven" directly followed by the version text.
inline QString PageAddress(const Page& page, const QString& version) {
  return kHomePage + page.path + "?qq=Keyhaven" + version;
}

}  // namespace maker

}  // namespace app
