#include "frame/tmain.h"
#include "admin/register.h"
#include "customers/register.h"
#include "reports/register.h"
#include "trade/register.h"
#include <QMdiArea>

TMAIN::TMAIN(Session& session, QWidget* parent) : QMainWindow(parent), session_(session), mdi_(new QMdiArea(this)) {
    setObjectName(QStringLiteral("TMAIN"));
    setCentralWidget(mdi_);
    registerCustomersScreens(registry_);
    registerTradeScreens(registry_);
    registerReportsScreens(registry_);
    registerAdminScreens(registry_);
}
