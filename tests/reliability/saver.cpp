// Saves sales, repairs and arrears collections in a loop through the real entry screens, for the
// tests that kill it at random moments. Every completed save is reported on stdout after its
// success message, so a test knows what must be in the database whatever happens next:
//   ready
//   sale <serial> paid|unpaid
//   repair <serial>
//   collected <id> <id> ...
// Arguments: a seed and, optionally, the number of saves after which it ends.
#include "data/programfolder.h"
#include "frame/startup.h"
#include "trade/arrearslist.h"
#include "trade/tbushou.h"
#include "trade/tdinggou.h"
#include "trade/tweixiu.h"
#include "ui/session.h"
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTreeWidget>
#include <cstdio>
#include <unistd.h>

namespace {
class LastMessage : public MessageService {
  public:
    QMessageBox::StandardButton show(QWidget*, const MessageBoxSpec& box) override {
        last = box;
        return box.buttons == MsgButtons::YesNo ? QMessageBox::Yes : QMessageBox::Ok;
    }
    MessageBoxSpec last;
};

class NoFiles : public FileDialogService {
  public:
    QString save(QWidget*, FileDialogSpec&) override { return {}; }
    QString open(QWidget*, FileDialogSpec&) override { return {}; }
};

void say(const QString& line) {
    const QByteArray b = (line + u'\n').toUtf8();
    // One write per line, so a kill never leaves half a line that claims a save.
    if (::write(STDOUT_FILENO, b.constData(), size_t(b.size())) != b.size())
        std::_Exit(5);
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const quint32 seed = args.size() > 1 ? args[1].toUInt() : 1;
    const long long limit = args.size() > 2 ? args[2].toLongLong() : -1;

    const auto instance = Startup::singleInstance();
    if (!instance)
        return 3;
    auto* messages = new LastMessage;
    Session session(std::unique_ptr<MessageService>(messages), std::make_unique<NoFiles>());
    try {
        session.dm().open(ProgramFolder::databaseFile());
    } catch (const DbError& e) {
        say(QStringLiteral("error %1").arg(e.text()));
        return 2;
    }
    session.operatorNumber = QStringLiteral("0001");
    session.flags.fill(true);

    Tdinggou sale(session);
    Tweixiu repair(session);
    Tbushou collect(session);
    QRandomGenerator rng(seed);
    const QString run = QString::number(QCoreApplication::applicationPid());
    say(QStringLiteral("ready"));

    for (long long n = 0; limit < 0 || n < limit; ++n) {
        const QString serial = QStringLiteral("S%1-%2").arg(run).arg(n);
        const QString amount = QString::number(1 + rng.bounded(5000)) + QStringLiteral(".5");
        messages->last = {};
        QString done;
        switch (rng.bounded(4)) {
        case 0:
        case 1: {
            const bool paid = rng.bounded(2) == 0;
            sale.Edit7->setText(QStringLiteral("7"));
            sale.Edit1->setText(QStringLiteral("王五"));
            sale.Edit4->setText(QStringLiteral("联想"));
            sale.Edit5->setText(serial);
            sale.Edit6->setText(amount);
            (paid ? sale.paidItem : sale.unpaidItem)->setChecked(true);
            sale.BitBtn2Click();
            done = QStringLiteral("sale %1 %2")
                       .arg(serial, paid ? QStringLiteral("paid") : QStringLiteral("unpaid"));
            break;
        }
        case 2:
            repair.Edit6->setText(QStringLiteral("7"));
            repair.Edit1->setText(QStringLiteral("王五"));
            repair.Edit8->setText(serial);
            repair.Edit5->setText(amount);
            repair.ListView1->topLevelItem(int(rng.bounded(repair.ListView1->topLevelItemCount())))
                ->setCheckState(0, Qt::Checked);
            repair.BitBtn2Click();
            done = QStringLiteral("repair %1").arg(serial);
            break;
        default: {
            collect.BitBtn2Click();
            QStringList ids;
            ArrearsList* list = collect.list;
            for (int r = 0; r < list->rowCount() && ids.size() < 3; ++r)
                if (rng.bounded(2) == 0) {
                    list->setData(list->index(r, 0), Qt::Checked, Qt::CheckStateRole);
                    ids << QString::number(list->id(r));
                }
            if (ids.isEmpty())
                continue;
            collect.BitBtn3Click();
            done = QStringLiteral("collected %1").arg(ids.join(u' '));
            break;
        }
        }
        if (messages->last.icon != MsgIcon::Information) {
            say(QStringLiteral("error %1").arg(messages->last.text));
            return 4;
        }
        say(done);
    }
    return 0;
}
