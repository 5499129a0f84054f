#pragma once
// A record's fields and the one table of their names: each field is stored in the column of its
// name, and the grid titles its column with it.
#include <QString>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace vault {

// In the order the listings select them.
enum class Field { kNumber, kCategory, kAddress, kTitle, kAccount, kPassword, kNote };

inline constexpr std::array<Field, 7> kFields = {Field::kNumber,  Field::kCategory, Field::kAddress, Field::kTitle,
                                                 Field::kAccount, Field::kPassword, Field::kNote};

// The fields a search looks in, in the order they are offered.
inline constexpr std::array<Field, 4> kSearchedFields = {Field::kTitle, Field::kAddress, Field::kAccount, Field::kNote};

constexpr std::string_view ColumnName(Field field) {
  constexpr std::array<std::string_view, kFields.size()> kNames = {"编号", "分类", "网址", "标题",
                                                                   "帐号", "密码", "备注"};
  return kNames[static_cast<std::size_t>(field)];
}

inline QString FieldName(Field field) {
  const std::string_view name = ColumnName(field);
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The field of this name; nullopt for any other text.
inline std::optional<Field> FieldNamed(const QString& name) {
  for (const Field field : kFields)
    if (name == FieldName(field)) return field;
  return std::nullopt;
}

}  // namespace vault
