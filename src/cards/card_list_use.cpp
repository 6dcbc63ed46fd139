#include "cards/card_list_use.h"
#include "cards/form28.h"
#include "platform/ui/guard.h"
#include "services/module1.h"

namespace cards {

QString cardListDatabase() {
    const QString bound = Form28::it().Data1->DatabaseName;
    return bound.isEmpty() ? Module1::MainDbPath : bound;
}

void refreshCardList() {
    if (Form28::isLoaded()) ui::step([&] { Form28::it().Data1->Refresh(); });
}

void setCardListRedraw(bool on) { Form28::it().MSFlexGrid1->setRedraw(on); }

void showCardList(const QString& rowSource, int col, int sortSetting) {
    Form28& list = Form28::it();
    if (rowSource.isEmpty())
        ui::step([&] { list.Data1->Refresh(); });
    else
        list.setRowSource(rowSource);
    ui::step([&] { list.Show(); });
    ui::step([&] { list.MSFlexGrid1->setCol(col); });
    list.sortGrid(sortSetting);
}

}  // namespace cards
