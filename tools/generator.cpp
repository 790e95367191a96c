#include "generator.h"
#include "data/dates.h"
#include "data/tdm1.h"
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace Generator {
namespace {

const QString kSurnames = QStringLiteral(
    "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢"
    "姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤");
const QString kGiven = QStringLiteral(
    "伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超兰霞平刚桂华玉萍红娥玲芬燕彩春菊凤洁梅琳素云莲真环雪荣爱妹香月"
    "瑞凡佳嘉琼勤珍贞莉娣叶璐琦晶妍秋珊锦青倩婷婉颖露瑶怡丹蓉君琴蕊薇梦岚馨韵卿聪纯悦冰爽宁欣建国志文斌辉"
    "德成林海波鹏飞龙浩亮宏俊峰东新利清永金健生光达安福民长胜德学祥才发山");
const char* const kTownships[] = {"城关镇", "东坝镇", "西河镇", "南山乡", "北岭乡", "柳林镇", "青石镇", "白马乡",
                                  "黄土坡乡", "红旗镇", "桃源乡", "杏花镇", "梨园乡", "松树镇", "石桥镇", "新集镇",
                                  "高庄乡", "李店镇", "王家营乡", "张湾镇", "双河镇", "三岔乡", "五里铺镇",
                                  "八里桥乡", "长岭镇", "大营镇", "小河乡", "龙泉镇", "凤凰乡", "金牛镇"};
const char* const kVillages[] = {"东村", "西村", "南村", "北村", "前庄", "后庄", "上湾", "下湾", "新村", "老街村"};
const char* const kModels[] = {"联想天逸510", "联想扬天M4000", "惠普战66", "戴尔灵越5000", "华硕VivoBook15",
                               "清华同方超越E500", "方正文祥E520", "宏碁墨舞", "组装机i5", "组装机i3",
                               "ThinkPad E14", "HP LaserJet 1020", "爱普生L3151", "明基显示器GW2480"};
const char* const kItems[] = {"主机", "键盘", "显示器", "鼠标", "系统", "其他"};
const char* const kStaff[] = {"小王", "小李", "张姐", "刘师傅", "陈工"};
const char* const kOperators[] = {"0001", "0002", "0003", "0004"};
const char* const kRemarks[] = {"老客户", "学校", "送货上门", "分期付款", "保修三年", "村委会", "Tom's shop",
                                "含税", "需发票", "加装内存"};

struct Customer {
    qint64 number;
    QVariant name, idNumber, birthYear, mobile, telephone, address, since, remark;
};

class Writer {
public:
    Writer(TDM1& dm, const QString& sql) : q_(dm.db()) {
        if (!q_.prepare(sql))
            TDM1::fail(q_.lastError().databaseText());
    }
    void run(const QVariantList& values) {
        for (int i = 0; i < values.size(); ++i)
            q_.bindValue(i, values[i]);
        if (!q_.exec())
            TDM1::fail(q_.lastError().databaseText());
    }

private:
    QSqlQuery q_;
};

class Maker {
public:
    explicit Maker(quint32 seed) : rng_(seed) {}
    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    double unit() { return std::uniform_real_distribution<double>(0, 1)(rng_); }
    bool chance(double p) { return unit() < p; }
    QChar pick(const QString& s) { return s.at(uniform(0, int(s.size()) - 1)); }
    template <size_t N> QString pick(const char* const (&a)[N]) {
        return QString::fromUtf8(a[uniform(0, int(N) - 1)]);
    }
    QString digits(int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + uniform(0, 9));
        return s;
    }
    // Mostly filled; some empty texts and some NULLs, as old records have them.
    QVariant sometimes(const QString& value, double empty, double null) {
        const double u = unit();
        if (u < null)
            return QVariant(QMetaType::fromType<QString>());
        if (u < null + empty)
            return QStringLiteral(""); // an empty text, not NULL
        return value;
    }
    QString name() {
        if (chance(0.01))
            return QStringLiteral("%1 %2").arg(QStringList{"Tom", "li", "Wang", "Mary", "John"}[uniform(0, 4)],
                                               QStringList{"Li", "Zhang", "chen", "Smith"}[uniform(0, 3)]);
        QString n = pick(kSurnames);
        n += pick(kGiven);
        if (chance(0.6))
            n += pick(kGiven);
        return n;
    }
    std::mt19937& rng() { return rng_; }

private:
    std::mt19937 rng_;
};

QString serial(Maker& m) {
    static const QString chars = QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZ0123456789");
    QString s = QStringLiteral("SN");
    for (int i = 0; i < 10; ++i)
        s += m.pick(chars);
    return s;
}

qint64 yuan(double y) { return qint64(std::llround(y * 10000)); }
} // namespace

Counts planned(double scale) {
    Counts c;
    c.customers = std::max<qint64>(1, std::llround(100000 * scale));
    c.sales = std::llround(1000000 * scale);
    c.repairs = std::llround(1000000 * scale);
    c.villages = 300;
    return c;
}

Counts fill(TDM1& dm, const Options& options, const std::function<void(qint64, qint64)>& progress) {
    const Counts plan = planned(options.scale);
    Counts done;
    Maker m(options.seed);
    const QDate first = options.lastDay.addYears(-options.years).addDays(1);
    const int days = int(first.daysTo(options.lastDay)) + 1;
    const qint64 total = plan.customers + plan.sales + plan.repairs;
    qint64 written = 0;
    auto step = [&] {
        if (progress && ++written % 10000 == 0)
            progress(written, total);
    };

    // Townships and villages.
    dm.transaction([&] {
        Writer w(dm, QStringLiteral("insert into 乡镇(乡镇,村庄) values(?,?)"));
        for (const char* t : kTownships)
            for (const char* v : kVillages) {
                w.run({QString::fromUtf8(t), QString::fromUtf8(v)});
                ++done.villages;
            }
    });

    // Customers.
    std::vector<Customer> customers;
    customers.reserve(size_t(plan.customers));
    // A few names are very common, as in any town.
    std::vector<QString> common;
    for (int i = 0; i < 200; ++i)
        common.push_back(m.name());
    for (qint64 i = 0; i < plan.customers; ++i) {
        Customer c;
        c.number = i + 1;
        c.name = m.chance(0.15) ? common[size_t(m.uniform(0, int(common.size()) - 1))] : m.name();
        const int birth = m.uniform(1940, 2002);
        const QDate born(birth, m.uniform(1, 12), m.uniform(1, 28));
        c.idNumber = m.sometimes(QStringLiteral("4127%1%2%3%4")
                                     .arg(m.uniform(10, 99))
                                     .arg(born.toString(QStringLiteral("yyyyMMdd")), m.digits(3),
                                          m.chance(0.1) ? QStringLiteral("X") : m.digits(1)),
                                 0.2, 0.1);
        c.birthYear = m.sometimes(QString::number(birth), 0.1, 0.05);
        c.mobile = m.sometimes(QStringLiteral("13%1").arg(m.digits(9)), 0.15, 0.05);
        c.telephone = m.sometimes(QStringLiteral("0394-%1").arg(m.digits(7)), 0.4, 0.1);
        QString address = m.pick(kTownships) + m.pick(kVillages);
        if (m.chance(0.7))
            address += QStringLiteral("%1组").arg(m.uniform(1, 12));
        c.address = m.sometimes(address, 0.02, 0.01);
        c.since = Dates::toSql(first.addDays(m.uniform(0, days - 1)));
        c.remark = m.chance(0.1) ? QVariant(m.pick(kRemarks)) : QVariant(QMetaType::fromType<QString>());
        customers.push_back(std::move(c));
    }
    for (qint64 from = 0; from < plan.customers; from += options.rowsPerTransaction) {
        dm.transaction([&] {
            Writer w(dm, QStringLiteral("insert into 客户信息(身份证号,出生年,手机,客户编号,客户名称,地址,电话,起用日期,"
                                        "备注) values(?,?,?,?,?,?,?,?,?)"));
            for (qint64 i = from; i < std::min<qint64>(plan.customers, from + options.rowsPerTransaction); ++i) {
                const Customer& c = customers[size_t(i)];
                w.run({c.idNumber, c.birthYear, c.mobile, c.number, c.name, c.address, c.telephone, c.since,
                       c.remark});
                ++done.customers;
                step();
            }
        });
    }

    // Sales and repairs in the order of their days; recent years are busier.
    std::vector<double> yearWeight(size_t(options.years));
    double weightSum = 0;
    for (int y = 0; y < options.years; ++y)
        weightSum += yearWeight[size_t(y)] = 1.0 + 0.25 * y;
    std::discrete_distribution<int> yearOf(yearWeight.begin(), yearWeight.end());
    auto randomDay = [&] {
        const int y = yearOf(m.rng());
        const int from = int(first.daysTo(first.addYears(y)));
        const int to = std::min(days, int(first.daysTo(first.addYears(y + 1))));
        return m.uniform(from, to - 1);
    };
    struct Event {
        int day;
        bool repair;
    };
    std::vector<Event> events;
    events.reserve(size_t(plan.sales + plan.repairs));
    for (qint64 i = 0; i < plan.sales; ++i)
        events.push_back({randomDay(), false});
    for (qint64 i = 0; i < plan.repairs; ++i)
        events.push_back({randomDay(), true});
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.day < b.day; });
    // Regular customers come back: the low numbers are chosen more often.
    auto customerFor = [&]() -> const Customer& {
        const double u = m.unit();
        return customers[size_t(std::min<qint64>(plan.customers - 1, qint64(u * u * double(plan.customers))))];
    };

    const QString saleSql = QStringLiteral(
        "insert into dinggou(客服人员,身份证号,出生年,手机,客户编号,客户名称,地址,电话,订购型号,主机序列号,价格,备注,"
        "日期,经手人) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    const QString repairSql = QStringLiteral(
        "insert into 维修记录(身份证号,出生年,手机,客户编号,客户名称,地址,电话,维修项目,维修费,主机序列号,备注,日期,"
        "经手人) values(?,?,?,?,?,?,?,?,?,?,?,?,?)");
    const QString entrySql = QStringLiteral(
        "insert into 帐款明细(手机,客户编号,客户名称,地址,电话,主机序列号,应付金额,付款情况,备注,日期,经手人) "
        "values(?,?,?,?,?,?,?,?,?,?,?)");
    const QString receiptSql = QStringLiteral(
        "insert into 收款记录(手机,客户编号,客户名称,地址,电话,主机序列号,金额,日期,经手人) values(?,?,?,?,?,?,?,?,?)");
    const QString paid = QStringLiteral("已付款");
    const QString unpaid = QStringLiteral("未付款");

    for (size_t from = 0; from < events.size(); from += size_t(options.rowsPerTransaction)) {
        dm.transaction([&] {
            Writer sale(dm, saleSql), repair(dm, repairSql), entry(dm, entrySql), receipt(dm, receiptSql);
            const size_t to = std::min(events.size(), from + size_t(options.rowsPerTransaction));
            for (size_t i = from; i < to; ++i) {
                const Customer& c = customerFor();
                const QString date = Dates::toSql(first.addDays(events[i].day));
                const QString op = m.pick(kOperators);
                const QString sn = serial(m);
                if (!events[i].repair) {
                    const qint64 price = yuan(m.uniform(300, 9000) + (m.chance(0.2) ? 0.5 : 0.0));
                    const QVariant remark = m.chance(0.2) ? QVariant(m.pick(kRemarks)) : QVariant(QStringLiteral(""));
                    const bool isPaid = !m.chance(0.2);
                    sale.run({m.pick(kStaff), c.idNumber, c.birthYear, c.mobile, c.number, c.name, c.address,
                              c.telephone, m.pick(kModels), sn, price, remark, date, op});
                    entry.run({c.mobile, c.number, c.name, c.address, c.telephone, sn, price,
                               isPaid ? paid : unpaid, remark, date, op});
                    ++done.sales;
                    ++done.entries;
                    if (isPaid) {
                        receipt.run({c.mobile, c.number, c.name, c.address, c.telephone, sn, price, date, op});
                        ++done.receipts;
                    } else {
                        ++done.unpaid;
                    }
                } else {
                    QString items;
                    const int first = m.uniform(0, 5);
                    items += QStringLiteral("  ") + QString::fromUtf8(kItems[first]);
                    if (m.chance(0.2))
                        items += QStringLiteral("  ") + QString::fromUtf8(kItems[(first + m.uniform(1, 5)) % 6]);
                    const qint64 fee = m.chance(0.1) ? 0 : yuan(m.uniform(2, 60) * 5);
                    const QVariant remark = m.chance(0.1) ? QVariant(m.pick(kRemarks)) : QVariant(QStringLiteral(""));
                    repair.run({c.idNumber, c.birthYear, c.mobile, c.number, c.name, c.address, c.telephone, items,
                                fee, sn, remark, date, op});
                    entry.run({c.mobile, c.number, c.name, c.address, c.telephone, sn, fee, paid, remark, date, op});
                    ++done.repairs;
                    ++done.entries;
                    if (fee != 0) {
                        receipt.run({c.mobile, c.number, c.name, c.address, c.telephone, sn, fee, date, op});
                        ++done.receipts;
                    }
                }
                step();
            }
        });
    }
    if (progress)
        progress(total, total);
    return done;
}

} // namespace Generator
