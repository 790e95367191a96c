#include "trade/receipt.h"
#include "data/dates.h"
#include "data/programfolder.h"
#include "data/settings.h"
#include "ui/datagrid.h"
#include "ui/gridoutput.h"
#include "ui/screen.h"
#include <QCheckBox>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTcpSocket>

namespace {
const QString kSection = QStringLiteral("小票打印机");
const QString kTicks = QStringLiteral("打印小票");

// ESC/POS commands.
const QByteArray kInit("\x1b\x40", 2);
const QByteArray kChineseOn("\x1c\x26", 2);
const QByteArray kChineseOff("\x1c\x2e", 2);
const QByteArray kLeft("\x1b\x61\x00", 3);
const QByteArray kCentre("\x1b\x61\x01", 3);
const QByteArray kBig("\x1d\x21\x11", 3);
const QByteArray kNormal("\x1d\x21\x00", 3);
const QByteArray kFeed("\x1b\x64\x04", 3);
const QByteArray kCut("\x1d\x56\x42\x00", 4); // feed to the cutter and cut, leaving a hinge

// Columns a text takes on the printer: a Chinese character two, a Latin one one.
int width(const QString& s) {
    int w = 0;
    for (QChar c : s)
        w += c.unicode() < 0x80 ? 1 : 2;
    return w;
}

class Writer {
  public:
    explicit Writer(int columns) : columns_(columns) {}
    void raw(const QByteArray& b) { out_ += b; }
    void line(const QString& text) {
        out_ += QByteArray(encoder_.encode(text));
        out_ += '\n';
    }
    // The text on the left, the amount at the right edge; on a line of its own when both do not fit.
    void pair(const QString& left, const QString& right) {
        const int gap = columns_ - width(left) - width(right);
        if (gap >= 1) {
            line(left + QString(gap, u' ') + right);
        } else {
            line(left);
            line(QString(std::max(0, columns_ - width(right)), u' ') + right);
        }
    }
    void rule() { line(QString(columns_, u'-')); }
    QByteArray bytes() const { return out_; }

  private:
    int columns_;
    QByteArray out_;
    QStringEncoder encoder_{"GBK", QStringEncoder::Flag::Default};
};

QString stamp(const QDateTime& at) {
    return Dates::shortDate(at.date()) + u' ' + Dates::longTime(at.time());
}

QString settingsFile() {
    return ProgramFolder::iniFile();
}

// The grid the preview prints a receipt from: its items as rows, the total in its footer.
DataGrid* receiptGrid(Session& session, QWidget* owner, const Receipt& r) {
    if (auto* old = owner->findChild<DataGrid*>(QStringLiteral("ReceiptGrid"), Qt::FindDirectChildrenOnly))
        old->deleteLater();
    auto* grid = new DataGrid(owner);
    grid->setObjectName(QStringLiteral("ReceiptGrid"));
    grid->hide();
    QStringList rows;
    QVariantList params;
    for (const Receipt::Item& i : r.items) {
        rows << QStringLiteral("(?,?,?,?)");
        const QString text = i.customer.isEmpty() ? i.text : i.customer + u' ' + i.text;
        params << text << i.serial << (i.date.isValid() ? QVariant(Dates::toSql(i.date)) : QVariant())
               << i.amount.toVariant();
    }
    const QString sql =
        QStringLiteral("select column1 as \"项目\", column2 as \"主机序列号\", column3 as \"日期\", "
                       "column4 as \"金额\" from (values %1)")
            .arg(rows.join(u','));
    auto* query = new SharedQuery(session.dm(), 0, sql);
    query->setParent(grid);
    grid->bind(session, *query);
    QList<GridColumn> columns{{QStringLiteral("项目"), 0, {}}, {QStringLiteral("主机序列号"), 0, {}}};
    if (r.hasDates())
        columns.append({QStringLiteral("日期"), 0, {}});
    columns.append({QStringLiteral("金额"), 0, {}});
    grid->setColumns(columns);
    grid->setFooter({{QStringLiteral("项目"), FooterCell::Text, QStringLiteral("合计")},
                     {QStringLiteral("金额"), FooterCell::Sum, {}}});
    query->open(sql, params);
    return grid;
}

void preview(Session& session, QWidget* parent, const Receipt& r) {
    QWidget* owner = session.mainWindow() ? session.mainWindow() : parent;
    DataGrid* grid = receiptGrid(session, owner, r);
    QStringList head{r.shopName, r.title, QStringLiteral("时间：") + stamp(r.at),
                     QStringLiteral("操作员：") + r.operatorNumber};
    if (!r.customerNumber.isEmpty() || !r.customerName.isEmpty())
        head << QStringLiteral("客户编号：") + r.customerNumber
             << QStringLiteral("客户名称：") + r.customerName;
    const QString state =
        (r.paid ? QStringLiteral("已付：") : QStringLiteral("欠款：")) + r.total().toString();
    GridOutput::preview(session, parent,
                        {grid, head.join(u'\n'), state + u'\n' + r.footer, QSizeF(80, 200), 0.4});
}

// Prints once; empty when printed (or shown in the preview), otherwise why not.
QString printOnce(Session& session, QWidget* parent, const Receipt& r) {
    const QString file = settingsFile();
    const QString port =
        IniFile::read(file, QStringLiteral("程序参数"), QStringLiteral("打印端口"), QStringLiteral("lpt1"));
    const QString device = IniFile::read(file, kSection, port.trimmed().toLower()).trimmed();
    if (device.isEmpty()) {
        preview(session, parent, r);
        return {};
    }
    const int paper = IniFile::read(file, kSection, QStringLiteral("纸宽"), QStringLiteral("58")).trimmed() ==
                              QStringLiteral("80")
                          ? 80
                          : 58;
    return Receipts::send(device, Receipts::escPos(r, paper));
}
} // namespace

Money Receipt::total() const {
    Money t;
    for (const Item& i : items)
        t += i.amount;
    return t;
}

bool Receipt::hasDates() const {
    for (const Item& i : items)
        if (i.date.isValid())
            return true;
    return false;
}

namespace Receipts {

QCheckBox* tickBox(Screen& screen) {
    auto* box = new QCheckBox(QStringLiteral("打印小票"), &screen);
    box->setObjectName(QStringLiteral("CheckBox1"));
    const QString key = screen.objectName();
    box->setChecked(IniFile::read(settingsFile(), kTicks, key, QStringLiteral("0")) == QStringLiteral("1"));
    QObject::connect(box, &QCheckBox::toggled, box, [key](bool on) {
        try {
            IniFile::write(settingsFile(), kTicks, key, on ? QStringLiteral("1") : QStringLiteral("0"));
        } catch (const DbError&) {
            // A settings file that cannot be written forgets the choice; the tick itself still counts.
        }
    });
    return box;
}

Receipt begin(Session& session, const QString& title) {
    Receipt r;
    r.title = title;
    r.shopName = session.shopName;
    r.at = QDateTime::currentDateTime();
    r.operatorNumber = session.operatorNumber;
    r.footer = IniFile::read(settingsFile(), QStringLiteral("程序参数"), QStringLiteral("小票尾"),
                             QStringLiteral("欢迎您再次光临！"));
    return r;
}

void print(Screen& screen, const Receipt& receipt) {
    Session& session = screen.session();
    session.lastReceipt = QVariant::fromValue(receipt);
    for (;;) {
        QString error;
        try {
            error = printOnce(session, &screen, receipt);
        } catch (const DbError& e) {
            error = e.text();
        }
        if (error.isEmpty())
            return;
        if (!session.messages().ask(&screen, QStringLiteral("小票打印失败：%1\n是否重新打印？").arg(error),
                                    QStringLiteral("提示")))
            return;
    }
}

void reprint(Session& session, QWidget* parent) {
    if (!session.lastReceipt.canConvert<Receipt>()) {
        session.messages().error(parent, QStringLiteral("没有可以重印的小票！"), QStringLiteral("提示"));
        return;
    }
    const Receipt receipt = session.lastReceipt.value<Receipt>();
    for (;;) {
        QString error;
        try {
            error = printOnce(session, parent, receipt);
        } catch (const DbError& e) {
            error = e.text();
        }
        if (error.isEmpty())
            return;
        if (!session.messages().ask(parent, QStringLiteral("小票打印失败：%1\n是否重新打印？").arg(error),
                                    QStringLiteral("提示")))
            return;
    }
}

QByteArray escPos(const Receipt& r, int paperMm) {
    Writer w(paperMm >= 80 ? 48 : 32);
    w.raw(kInit);
    w.raw(kChineseOn);
    w.raw(kCentre);
    w.raw(kBig);
    w.line(r.shopName);
    w.raw(kNormal);
    w.line(r.title);
    w.raw(kLeft);
    w.line(QStringLiteral("时间：") + stamp(r.at));
    w.line(QStringLiteral("操作员：") + r.operatorNumber);
    if (!r.customerNumber.isEmpty() || !r.customerName.isEmpty()) {
        w.line(QStringLiteral("客户编号：") + r.customerNumber);
        w.line(QStringLiteral("客户名称：") + r.customerName);
    }
    w.rule();
    for (const Receipt::Item& i : r.items) {
        if (!i.customer.isEmpty())
            w.line(QStringLiteral("客户：") + i.customer);
        if (i.date.isValid())
            w.line(QStringLiteral("日期：") + Dates::shortDate(i.date));
        w.pair(i.text, i.amount.toString());
        if (!i.serial.isEmpty())
            w.line(QStringLiteral("序列号：") + i.serial);
    }
    w.rule();
    w.pair(QStringLiteral("合计："), r.total().toString());
    w.pair(r.paid ? QStringLiteral("已付：") : QStringLiteral("欠款："), r.total().toString());
    w.rule();
    w.raw(kCentre);
    if (!r.footer.isEmpty())
        w.line(r.footer);
    w.raw(kFeed);
    w.raw(kChineseOff);
    w.raw(kCut);
    return w.bytes();
}

QString send(const QString& device, const QByteArray& bytes) {
    static const QRegularExpression network(QStringLiteral("^([^\\s/:]+):(\\d{1,5})$"));
    if (device.startsWith(u'/')) {
        QFile f(device);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return QStringLiteral("无法打开“%1”：%2").arg(device, f.errorString());
        if (f.write(bytes) != bytes.size())
            return QStringLiteral("写入“%1”失败：%2").arg(device, f.errorString());
        return {};
    }
    if (const auto m = network.match(device); m.hasMatch()) {
        QTcpSocket socket;
        socket.connectToHost(m.captured(1), quint16(m.captured(2).toUInt()));
        if (!socket.waitForConnected(3000))
            return QStringLiteral("无法连接“%1”：%2").arg(device, socket.errorString());
        socket.write(bytes);
        while (socket.bytesToWrite() > 0)
            if (!socket.waitForBytesWritten(5000))
                return QStringLiteral("发送到“%1”失败：%2").arg(device, socket.errorString());
        socket.disconnectFromHost();
        if (socket.state() != QAbstractSocket::UnconnectedState)
            socket.waitForDisconnected(2000);
        return {};
    }
    // A print queue that takes the printer's own bytes as they are.
    QProcess lp;
    lp.start(QStringLiteral("lp"),
             {QStringLiteral("-d"), device, QStringLiteral("-o"), QStringLiteral("raw")});
    if (!lp.waitForStarted(5000))
        return QStringLiteral("无法启动打印命令lp：%1").arg(lp.errorString());
    lp.write(bytes);
    lp.closeWriteChannel();
    if (!lp.waitForFinished(15000) || lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0)
        return QStringLiteral("打印队列“%1”没有接受小票：%2")
            .arg(device, QString::fromLocal8Bit(lp.readAllStandardError()).trimmed());
    return {};
}

} // namespace Receipts
