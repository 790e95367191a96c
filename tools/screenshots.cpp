// Takes a picture of every window the staff meet, for the user guide: the login window, the
// main window, and each screen or dialog that a menu item or toolbar button opens, found by
// choosing them one by one in the main window:
//   QT_QPA_PLATFORM=offscreen build/tools/lumareth-screenshots OUTDIR [FOLDER]
// Pictures are named after the command that opens them (N10.png, ToolButton8.png), plus
// login.png and main.png. With FOLDER (a program folder, such as one filled by
// lumareth-generate) its database is shown instead of a new one; it is written to only as the
// screens write when they open. scripts/guide-pictures.sh makes the guide's pictures with it.
#include "data/programfolder.h"
#include "frame/tloginform.h"
#include "frame/tmain.h"
#include "menuwalk.h"
#include "ui/fonts.h"
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// Every question is cancelled and every file dialog too: walking the menus changes nothing.
class CancelMessages : public MessageService {
  public:
    QMessageBox::StandardButton show(QWidget*, const MessageBoxSpec& box) override {
        switch (box.buttons) {
        case MsgButtons::OkCancel:
            return QMessageBox::Cancel;
        case MsgButtons::YesNo:
            return QMessageBox::No;
        default:
            return QMessageBox::Ok;
        }
    }
};

class CancelFiles : public FileDialogService {
  public:
    QString save(QWidget*, FileDialogSpec&) override { return {}; }
    QString open(QWidget*, FileDialogSpec&) override { return {}; }
};

bool save(QWidget* w, const QString& file) {
    QApplication::processEvents();
    const bool ok = w->grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(out);
    QTemporaryDir home;
    qputenv("LUMARETH_HOME", argc > 2 ? QByteArray(argv[2]) : home.path().toUtf8());
    Fonts::install();
    Session session(std::make_unique<CancelMessages>(), std::make_unique<CancelFiles>());
    session.dm().open(ProgramFolder::databaseFile());
    TMAIN w(session);
    w.resize(1024, 768);
    {
        Tloginform login(session, &w);
        login.show();
        if (auto* box = login.findChild<QComboBox*>(QStringLiteral("cbusername")))
            box->setCurrentIndex(box->findText(QStringLiteral("0001")));
        save(&login, out + QStringLiteral("/login.png"));
    }
    session.operatorNumber = QStringLiteral("0001");
    session.flags.fill(true);
    w.setCurrentOperator(session.operatorNumber);
    w.applyFlags(session.flags);
    w.show();
    save(&w, out + QStringLiteral("/main.png"));
    QSet<QString> taken;
    bool ok = true;
    walkCommands(w, [&](const MenuCommand& c, QWidget* shown) {
        if (c.window.isEmpty() || taken.contains(c.window))
            return;
        taken.insert(c.window);
        // A screen that can list everything shows its rows in the picture.
        for (QPushButton* b : shown->findChildren<QPushButton*>())
            if (b->isVisible() && b->isEnabled() && b->text().startsWith(QStringLiteral("显示全部"))) {
                b->click();
                break;
            }
        // A screen with its child window's frame and title.
        QWidget* frame = qobject_cast<QMdiSubWindow*>(shown->parentWidget()) ? shown->parentWidget() : shown;
        ok = save(frame, QStringLiteral("%1/%2.png").arg(out, c.name)) && ok;
    });
    return ok ? 0 : 1;
}
