#pragma once
#include <QString>

class QWidget;

struct FileDialogSpec {
    QString caption;
    QString fileName;       // proposed name, may include a folder
    QString filter;         // "BAK文件 (*.BAK);;所有文件 (*)"
    QString selectedFilter; // in: proposed; out: the one chosen
    QString defaultSuffix;
};

// Every open and save dialog goes through this service; tests replace it by a scripted one.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen file, or empty when cancelled.
    virtual QString save(QWidget* parent, FileDialogSpec& request) = 0;
    virtual QString open(QWidget* parent, FileDialogSpec& request) = 0;
};

class WidgetFileDialogService : public FileDialogService {
public:
    QString save(QWidget* parent, FileDialogSpec& request) override;
    QString open(QWidget* parent, FileDialogSpec& request) override;
};
