#include "reports/export/export.h"
#include "ui/datagrid.h"
#include "ui/session.h"
#include <QDir>
#include <QFileInfo>

namespace {
// The dynamic property of the screen window that keeps the last chosen type.
constexpr const char* TypeProperty = "lumarethExportFileType";
} // namespace

namespace Export {

QStringList filters() {
    return {QStringLiteral("文本 (*.TXT)"), QStringLiteral("CSV (*.CSV)"), QStringLiteral("HTLM (*.HTM)"),
            QStringLiteral("RTF (*.RTF)"), QStringLiteral("XLS (*.XLS)")};
}

std::unique_ptr<TDBGridExport> writer(FileType type) {
    switch (type) {
    case Text:
        return std::make_unique<TDBGridExportAsText>();
    case Csv:
        return std::make_unique<TDBGridExportAsCSV>();
    case Html:
        return std::make_unique<TDBGridExportAsHTML>();
    case Rtf:
        return std::make_unique<TDBGridExportAsRTF>();
    case Xls:
        break;
    }
    return std::make_unique<TDBGridExportAsXLS>();
}

QString extension(FileType type) {
    switch (type) {
    case Text:
        return QStringLiteral("txt");
    case Csv:
        return QStringLiteral("csv");
    case Html:
        return QStringLiteral("htm");
    case Rtf:
        return QStringLiteral("rtf");
    case Xls:
        break;
    }
    return QStringLiteral("xls");
}

QString withExtension(const QString& fileName, const QString& ext) {
    if (fileName.right(3).compare(ext, Qt::CaseInsensitive) == 0)
        return fileName;
    return fileName + u'.' + ext;
}

bool run(Session& session, QWidget* parent, DataGrid& grid, const QString& defaultName,
         const ExportOptions& options) {
    bool written = false;
    QObject* holder = parent ? static_cast<QObject*>(parent) : static_cast<QObject*>(&grid);
    session.guarded(parent, [&] {
        const QStringList types = filters();
        int type = holder->property(TypeProperty).toInt();
        if (type < Text || type > Xls)
            type = Xls;

        FileDialogSpec request;
        request.fileName = defaultName;
        request.filter = types.join(QStringLiteral(";;"));
        request.selectedFilter = types[type - 1];
        const QString chosen = session.files().save(parent, request);
        if (chosen.isEmpty())
            return;
        const int picked = int(types.indexOf(request.selectedFilter));
        if (picked >= 0)
            type = picked + 1;
        holder->setProperty(TypeProperty, type);

        const QString file = withExtension(chosen, extension(FileType(type)));
        // The dialog asked about the name as typed; a different file of the longer name is not
        // replaced without asking too.
        if (file != chosen && QFileInfo::exists(file) &&
            !session.messages().ask(
                parent, QStringLiteral("文件“%1”已存在，要替换它吗？").arg(QDir::toNativeSeparators(file)),
                QStringLiteral("提示")))
            return;

        writer(FileType(type))->saveToFile(grid, file, options);
        written = true;
        session.messages().info(parent, QStringLiteral("倒出数据成功！"), QStringLiteral("提示！"));
    });
    return written;
}

} // namespace Export
