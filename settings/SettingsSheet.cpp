#include "settings/SettingsSheet.h"

#include <QPointer>

#include "app/AppState.h"
#include "settings/SheetDialog.h"

void openMenu() {
    appState.ui.menuOpen = 1;
    QPointer<SheetDialog> sheet = new SheetDialog;
    // A screen without pages would leave a sheet nobody can close: there is nothing to show.
    if (sheet->pageCount() == 0) {
        delete sheet.data();
        return;
    }
    sheet->placeOnScreen();
    sheet->exec();
    delete sheet.data();
}
