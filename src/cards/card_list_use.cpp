#include "cards/card_list_use.h"
#include "services/module1.h"
#include "services/window_registry.h"

namespace cards {

QString cardListDatabase() { return Module1::MainDbPath; }

void setCardListRedraw(bool) {}

void showCardList(const QString&, int, int) { services::showWindow(QStringLiteral("Form28")); }

}  // namespace cards
