#include "customers/txiangmu.h"
#include "customers/txiangzhen.h"

namespace {
QFont pixelFont(const QString& family, int pixels) {
    QFont f(family);
    f.setPixelSize(pixels);
    return f;
}
} // namespace

Txiangzhen::Txiangzhen(Session& session, QWidget* parent)
    : ReferenceList(session,
                    {QStringLiteral("Txiangzhen"),
                     QStringLiteral("乡镇、村庄设置"),
                     QStringLiteral("乡镇、村庄列表"),
                     QStringLiteral("乡镇"),
                     {QStringLiteral("乡镇"), QStringLiteral("村庄")},
                     18,
                     QStringLiteral("select %1 from 乡镇 order by 乡镇").arg(session.dm().withKey()),
                     QRect(350, 0, 316, 604),
                     pixelFont(QStringLiteral("MS Sans Serif"), 11)},
                    parent) {}

Txiangmu::Txiangmu(Session& session, QWidget* parent)
    : ReferenceList(session,
                    {QStringLiteral("Txiangmu"),
                     QStringLiteral("维修项目设置"),
                     QStringLiteral("维修项目列表"),
                     QStringLiteral("维修项目"),
                     {QStringLiteral("维修项目")},
                     4,
                     QStringLiteral("select %1 from 维修项目").arg(session.dm().withKey()),
                     QRect(350, 0, 315, 598),
                     pixelFont(QStringLiteral("宋体"), 13)},
                    parent) {}
