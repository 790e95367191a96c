#include "support/refusal.h"
#include "data/tdm1.h"

void refuseChange(TDM1& dm, const QString& change, const QString& table, const QString& message,
                  const QString& condition) {
    const QString name = TDM1::quoteId(QStringLiteral("refuse_%1_%2").arg(table, change));
    QString text = message;
    text.replace(u'\'', QStringLiteral("''"));
    if (dm.engine().kind() == QStringLiteral("SQLite")) {
        dm.ADOall.exec(
            QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, '%5'); END")
                .arg(name, change, TDM1::quoteId(table),
                     condition.isEmpty() ? QString() : QStringLiteral("WHEN ") + condition, text));
        return;
    }
    dm.ADOall.exec(
        QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF %2 THEN "
                       "RAISE EXCEPTION '%3'; END IF; RETURN CASE TG_OP WHEN 'DELETE' THEN OLD ELSE NEW "
                       "END; END $$")
            .arg(name, condition.isEmpty() ? QStringLiteral("true") : condition, text));
    dm.ADOall.exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION %1()")
                       .arg(name, change, TDM1::quoteId(table)));
}
