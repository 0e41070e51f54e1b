#include "settings/FieldsTexts.h"

#include "app/AppState.h"

namespace {

const char* const kEnglish[kFldTextCount] = {
    "Fields",
    "Field name",
    "Rename",
    "Delete",
    "Import…",
    "Headland (implement widths)",
    "Boundary",
    "Antenna",
    "Left edge",
    "Right edge",
    "A driven boundary is moved outward by this many metres (−50 to 50)",
    "The boundary's offset must be between −50 and 50 m",
    "A field needs a name",
    "Choose a field first",
    "Delete the field \"%1\" with its lines and works?",
    "Yes",
    "No",
    "No fields yet: Import… starts the farm book",
    "No fields yet: import them from a file",
    "Importing…",
    "Field files",
};

const char* const kSpanish[kFldTextCount] = {
    "Campos",
    "Nombre del campo",
    "Renombrar",
    "Borrar",
    "Importar…",
    "Cabecera (anchos de trabajo)",
    "Límite",
    "Antena",
    "Borde izquierdo",
    "Borde derecho",
    "Un límite recorrido se desplaza hacia fuera tantos metros (−50 a 50)",
    "El desplazamiento del límite debe estar entre −50 y 50 m",
    "Un campo necesita un nombre",
    "Elija primero un campo",
    "¿Borrar el campo «%1» con sus líneas y trabajos?",
    "Sí",
    "No",
    "Aún no hay parcelas: Importar… crea el libro de la finca",
    "Aún no hay campos: impórtelos de un archivo",
    "Importando…",
    "Archivos de campos",
};

const char* const kGerman[kFldTextCount] = {
    "Felder",
    "Feldname",
    "Umbenennen",
    "Löschen",
    "Importieren…",
    "Vorgewende (Arbeitsbreiten)",
    "Grenze",
    "Antenne",
    "Linker Rand",
    "Rechter Rand",
    "Eine abgefahrene Grenze wird um so viele Meter nach außen versetzt (−50 bis 50)",
    "Der Versatz der Grenze muss zwischen −50 und 50 m liegen",
    "Ein Feld braucht einen Namen",
    "Zuerst ein Feld wählen",
    "Das Feld „%1“ mit seinen Linien und Arbeiten löschen?",
    "Ja",
    "Nein",
    "Noch keine Schläge: Importieren… legt das Betriebsbuch an",
    "Noch keine Felder: aus einer Datei importieren",
    "Importiere…",
    "Felddateien",
};

const char* const kRussian[kFldTextCount] = {
    "Поля",
    "Имя поля",
    "Переименовать",
    "Удалить",
    "Импорт…",
    "Поворотная полоса (ширин орудия)",
    "Граница",
    "Антенна",
    "Левый край",
    "Правый край",
    "Объезженная граница сдвигается наружу на столько метров (от −50 до 50)",
    "Сдвиг границы должен быть от −50 до 50 м",
    "У поля должно быть имя",
    "Сначала выберите поле",
    "Удалить поле «%1» вместе с его линиями и работами?",
    "Да",
    "Нет",
    "Полей пока нет: Импорт… создаёт книгу хозяйства",
    "Полей пока нет: импортируйте их из файла",
    "Импорт…",
    "Файлы полей",
};

const char* const* const kTables[] = {kEnglish, kSpanish, kGerman, kRussian};

}  // namespace

QString fieldsText(int id) {
    if (id < 0 || id >= kFldTextCount) return {};
    const int language = appState.ui.language <= 3 ? appState.ui.language : 0;
    return QString::fromUtf8(kTables[language][id]);
}
