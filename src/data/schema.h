#pragma once
#include <QStringList>

// The names every engine's schema shares.
namespace Schema {
inline const char* const kSearchedTables[] = {"客户信息", "dinggou", "维修记录", "帐款明细", "收款记录"};
inline const char* const kSearchedColumns[] = {"客户编号", "客户名称", "电话", "手机", "地址"};
inline const char* const kDatedTables[] = {"dinggou", "维修记录", "帐款明细", "收款记录"};
inline const char* const kTableNames[] = {"操作员",   "客户信息", "维修项目", "dinggou",
                                          "维修记录", "帐款明细", "收款记录", "乡镇"};

// Every index of the database; pinyin is the clause that puts a text column in the Chinese order
// (empty where the column's own collation does).
QStringList indexStatements(const QString& pinyin);
} // namespace Schema
