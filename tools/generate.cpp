// Fills a program folder's database with twenty years of a busy shop's records:
//   lumareth-generate [--scale S] [--seed N] FOLDER
// FOLDER is a program folder (its database is FOLDER/database/database.db); the database must
// not exist yet. Scale 1 is 100,000 customers, 1,000,000 sales and 1,000,000 repairs.
#include "data/dberror.h"
#include "data/programfolder.h"
#include "data/tdm1.h"
#include "generator.h"
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Fills a Lumareth database with generated records."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("scale"), QStringLiteral("1 is 100,000 customers and 1,000,000 sales and repairs."),
                      QStringLiteral("S"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("Seed of the random numbers."), QStringLiteral("N"),
                      QStringLiteral("20080305")});
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("The program folder to fill."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    bool ok = false;
    Generator::Options options;
    options.scale = parser.value(QStringLiteral("scale")).toDouble(&ok);
    if (!ok || options.scale <= 0) {
        std::fprintf(stderr, "bad scale\n");
        return 2;
    }
    options.seed = parser.value(QStringLiteral("seed")).toUInt(&ok);
    if (!ok) {
        std::fprintf(stderr, "bad seed\n");
        return 2;
    }
    qputenv("LUMARETH_HOME", parser.positionalArguments().first().toLocal8Bit());
    const QString file = ProgramFolder::databaseFile();
    if (QFileInfo::exists(file)) {
        std::fprintf(stderr, "%s exists already\n", qPrintable(file));
        return 2;
    }
    try {
        TDM1 dm;
        dm.open(file);
        // A generated file can be made again: no need to wait for the disk on every commit.
        dm.ADOall.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        dm.ADOall.exec(QStringLiteral("PRAGMA cache_size=-131072"));
        QElapsedTimer t;
        t.start();
        int lastPercent = -1;
        const Generator::Counts c = Generator::fill(dm, options, [&](qint64 done, qint64 total) {
            const int percent = int(done * 100 / std::max<qint64>(1, total));
            if (percent != lastPercent) {
                lastPercent = percent;
                std::fprintf(stderr, "\r%3d%%  %6.1f s", percent, double(t.elapsed()) / 1000);
            }
        });
        std::fprintf(stderr, "\n");
        std::printf("%lld customers, %lld sales, %lld repairs, %lld account entries (%lld unpaid), %lld receipts "
                    "written to %s in %.1f s\n",
                    c.customers, c.sales, c.repairs, c.entries, c.unpaid, c.receipts, qPrintable(file),
                    double(t.elapsed()) / 1000);
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
