// The labels of the Fields page in the four languages, the same index meaning the same label
// everywhere.
#pragma once

#include <QString>

enum FieldsTextId : int {
    kFldTitle,
    kFldNamePlaceholder,
    kFldRename,
    kFldDelete,
    kFldImport,
    kFldHeadland,
    kFldBoundary,
    kFldAntenna,
    kFldLeftEdge,
    kFldRightEdge,
    kFldOffsetTip,
    kFldBadOffset,
    kFldNameEmpty,
    kFldChooseField,
    kFldConfirmDelete,  // format: %1, the field's name
    kFldYes,
    kFldNo,
    kFldNoBook,
    kFldNoFields,
    kFldImporting,
    kFldFileFilter,
    kFldTextCount
};

// A label of the current language (appState.ui.language); English for any other.
QString fieldsText(int id);
