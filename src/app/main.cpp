#include "data/programfolder.h"
#include "frame/tmain.h"
#include "ui/fonts.h"
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Fonts::install();
    Session session(std::make_unique<WidgetMessageService>(), std::make_unique<WidgetFileDialogService>());
    session.dm().open(ProgramFolder::databaseFile());
    TMAIN w(session);
    w.show();
    return app.exec();
}
