#include "cards/card_list_use.h"
#include "cards/form28.h"
#include "platform/ui/guard.h"
#include "services/module1.h"

namespace cards {

// The card list binds itself to the main database when it loads; until then that is its database.
QString cardListDatabase() {
    const QString bound = Form28::isLoaded() ? Form28::it().Data1->DatabaseName : QString();
    return bound.isEmpty() ? Module1::MainDbPath : bound;
}

void refreshCardList() {
    if (Form28::isLoaded()) ui::step([&] { Form28::it().Data1->Refresh(); });
}

void setCardListRedraw(bool on) {
    if (Form28::isLoaded()) Form28::it().MSFlexGrid1->setRedraw(on);
}

void showCardList(const QString& rowSource, int col, int sortSetting) {
    // A list that loads now reads its rows as it loads; a loaded one lets its old rows go before
    // it reads the new, so that the two are never held together. (A list without a row source
    // still tries, and says why it cannot.)
    const bool loaded = Form28::isLoaded();
    Form28& list = Form28::it();
    if (!rowSource.isEmpty()) {
        list.setRowSource(rowSource);
    } else if (loaded || list.Data1->RecordSource.isEmpty()) {
        ui::step([&] {
            list.Data1->close();
            list.Data1->Refresh();
        });
    }
    ui::step([&] { list.Show(); });
    ui::step([&] { list.MSFlexGrid1->setCol(col); });
    list.sortGrid(sortSetting);
}

}  // namespace cards
