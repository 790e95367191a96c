#pragma once
#include <QDate>
#include <QString>
#include <functional>

class TDM1;

// Fills a database with the records of a shop that has worked for twenty years: customers,
// sales and repairs with their account entries and receipts, written as the entry screens
// write them. Scale 1 is 100,000 customers, 1,000,000 sales and 1,000,000 repairs.
namespace Generator {

struct Options {
    double scale = 1.0;
    quint32 seed = 20080305;
    QDate lastDay = QDate(2024, 12, 31); // the twenty years end here
    int years = 20;
    int rowsPerTransaction = 50000;
};

struct Counts {
    qint64 customers = 0;
    qint64 sales = 0;
    qint64 repairs = 0;
    qint64 entries = 0;
    qint64 unpaid = 0;
    qint64 receipts = 0;
    qint64 villages = 0;
};

// The numbers of rows that a scale asks for.
Counts planned(double scale);

// Writes the rows into the open database (which should hold no customers, sales or repairs
// yet). progress, when given, is told the rows written so far and the rows in all.
Counts fill(TDM1& dm, const Options& options, const std::function<void(qint64, qint64)>& progress = {});

} // namespace Generator
