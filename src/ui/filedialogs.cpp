#include "ui/filedialogs.h"
#include <QFileDialog>

namespace {
QString run(QWidget* parent, FileDialogSpec& spec, QFileDialog::AcceptMode mode) {
    QFileDialog d(parent, spec.caption, QString(), spec.filter);
    d.setAcceptMode(mode);
    d.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!spec.defaultSuffix.isEmpty())
        d.setDefaultSuffix(spec.defaultSuffix);
    if (!spec.fileName.isEmpty())
        d.selectFile(spec.fileName);
    if (!spec.selectedFilter.isEmpty())
        d.selectNameFilter(spec.selectedFilter);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return {};
    spec.selectedFilter = d.selectedNameFilter();
    return d.selectedFiles().first();
}
} // namespace

QString WidgetFileDialogService::save(QWidget* parent, FileDialogSpec& spec) {
    return run(parent, spec, QFileDialog::AcceptSave);
}

QString WidgetFileDialogService::open(QWidget* parent, FileDialogSpec& spec) {
    return run(parent, spec, QFileDialog::AcceptOpen);
}
