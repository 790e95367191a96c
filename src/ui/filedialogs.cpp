#include "ui/filedialogs.h"
#include <QFileDialog>

namespace {
QString run(QWidget* parent, FileDialogSpec& request, QFileDialog::AcceptMode mode) {
    QFileDialog d(parent, request.caption, QString(), request.filter);
    d.setAcceptMode(mode);
    d.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.defaultSuffix.isEmpty())
        d.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        d.selectFile(request.fileName);
    if (!request.selectedFilter.isEmpty())
        d.selectNameFilter(request.selectedFilter);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return {};
    request.selectedFilter = d.selectedNameFilter();
    return d.selectedFiles().first();
}
} // namespace

QString WidgetFileDialogService::save(QWidget* parent, FileDialogSpec& request) {
    return run(parent, request, QFileDialog::AcceptSave);
}

QString WidgetFileDialogService::open(QWidget* parent, FileDialogSpec& request) {
    return run(parent, request, QFileDialog::AcceptOpen);
}
