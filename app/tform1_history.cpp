// 历史: the picked record's earlier versions, one of which may become the record again; 最近删除: the
// deleted records, to bring back or to remove for good.
#include "app/accounts_page.h"
#include "app/tform1.h"
#include "platform/dialogs.h"
#include "vault/record_fields.h"

namespace app {

namespace {

// The names of the fields in which a version differs from the record, in the form's order.
QString ChangedFields(const vault::Record& version, const vault::Record& current) {
  QStringList names;
  for (const vault::Field field : {vault::Field::kCategory, vault::Field::kTitle, vault::Field::kAddress,
                                   vault::Field::kAccount, vault::Field::kPassword, vault::Field::kNote})
    if (version.value(field) != current.value(field)) names << vault::FieldName(field);
  return names.isEmpty() ? QString("无不同") : names.join("、");
}

platform::RecordVersion Shown(const vault::KeptRecord& kept, const vault::Record& current) {
  const vault::Record& r = kept.record;
  return {kept.time + "  " + ChangedFields(r, current),
          "分类: " + r.category + "\n标题: " + r.title + "\n网址: " + r.address + "\n帐号: " + r.account +
              "\n备注: " + r.note,
          r.password};
}

}  // namespace

void TForm1::Button_HistoryClick() {
  auto& dialogs = services_.dialogs;
  if (accountsPage_->recordNumber().isEmpty()) return dialogs.message("请先选择一条记录.");
  const std::vector<vault::KeptRecord> versions = vault_.versionsOf(accountsPage_->recordNumber());
  if (versions.empty()) return dialogs.message("该记录没有历史版本.");
  const vault::Record current = accountsPage_->record();
  std::vector<platform::RecordVersion> shown;
  shown.reserve(versions.size());
  for (const vault::KeptRecord& version : versions) shown.push_back(Shown(version, current));
  const std::optional<int> chosen = dialogs.chooseVersion(shown);
  if (!chosen) return;
  const vault::KeptRecord& version = versions[static_cast<std::size_t>(*chosen)];
  if (!dialogs.question("历史版本", "用 " + version.time + " 的版本替换当前记录吗?\n当前内容先存为一个版本.")) return;
  if (!vault_.restoreVersion(version.id)) dialogs.message("该记录已不存在,恢复未完成.");
  Button_RefreshClick();
}

void TForm1::Button_DeletedClick() {
  auto& dialogs = services_.dialogs;
  const std::vector<vault::KeptRecord> deleted = vault_.deletedRecords();
  if (deleted.empty()) return dialogs.message("没有最近删除的记录.");
  QStringList lines;
  for (const vault::KeptRecord& kept : deleted)
    lines << kept.time + "  " + kept.record.category + "  " + kept.record.title + "  " + kept.record.account;
  const std::optional<platform::DeletedChoice> chosen = dialogs.chooseDeleted(lines);
  if (!chosen) return;
  const vault::KeptRecord& kept = deleted[static_cast<std::size_t>(chosen->index)];
  if (chosen->removeForGood) {
    if (dialogs.confirm("最近删除",
                        "永久删除后, 这条记录和它的历史版本无法再恢复.\n删除前的备份文件仍保存着它.\n仍要永久删除吗?"))
      vault_.forgetDeleted(kept.id);
    return;
  }
  vault_.restoreDeleted(kept.id);
  Button_GeiClassClick();  // its category comes back with it
  Button_RefreshClick();
  dialogs.message("已恢复.");
}

}  // namespace app
