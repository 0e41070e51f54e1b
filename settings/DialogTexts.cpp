#include "settings/DialogTexts.h"

#include "app/AppState.h"

namespace {

const wchar_t* const kEnglish[kDialogTextCount] = {
    L"OK",
    L"Cancel",
    L"Setup",
    L"Implement width (m)",
    L"Colors",
    L"Track color",
    L"Background color",
    L"Guide in straight line",
    L"Guide arrow tolerance (m)",
    L"Review",
    L"Review acceleration %d",
    L"",
    L"GPS Setup",
    L"Use GPS Windows",
    L"Use GPS by serial port",
    L"Port",
    L"Baud",
    L"Speed threshold %.1f Km/h",
    L"Distance threshold %.1f m",
    L"HDOP threshold %.1f",
    L"Internal settings",
    L"Tractor scale",
    L"Real scale",
    L"Scale 2X",
    L"Scale 4X",
    L"Scale 6X",
    L"Scale 8X",
    L"Without tractor",
    L"Miscellaneous",
    L"Data text color",
    L"Show guide number",
    L"Export to KML",
};

const wchar_t* const kSpanish[kDialogTextCount] = {
    L"Aceptar",
    L"Cancelar",
    L"Ajustes",
    L"Ancho de trabajo (m)",
    L"Colores",
    L"Color de la pasada",
    L"Color de fondo",
    L"Guiado en línea recta",
    L"Tolerancia de las flechas (m)",
    L"Reproducción",
    L"Aceleración de reproducción %d",
    L"",
    L"Ajustes GPS",
    L"Usar GPS de Windows",
    L"Usar GPS por puerto serie",
    L"Puerto",
    L"Baudios",
    L"Umbral de velocidad %.1f Km/h",
    L"Umbral de distancia %.1f m",
    L"Umbral de HDOP %.1f",
    L"Ajustes internos",
    L"Escala del tractor",
    L"Escala real",
    L"Escala 2X",
    L"Escala 4X",
    L"Escala 6X",
    L"Escala 8X",
    L"Sin tractor",
    L"Varios",
    L"Color de los datos",
    L"Mostrar número de guía",
    L"Exportar a KML",
};

// "OK", "Setup", "GPS Setup" and "Baud" are the words German cab screens use as well.
const wchar_t* const kGerman[kDialogTextCount] = {
    L"OK",
    L"Abbrechen",
    L"Setup",
    L"Arbeitsbreite",
    L"Farben",
    L"Spurfarbe",
    L"Hintergrundfarbe",
    L"Führung in gerader Linie",
    L"Toleranz der Lenkpfeile (m)",
    L"Wiedergabe",
    L"Wiedergabe-Beschleunigung %d",
    L"",
    L"GPS Setup",
    L"GPS von Windows verwenden",
    L"GPS über serielle Schnittstelle",
    L"Schnittstelle",
    L"Baud",
    L"Geschwindigkeitsschwelle %.1f Km/h",
    L"Abstandsschwelle %.1f m",
    L"HDOP-Schwelle %.1f",
    L"Interne Einstellungen",
    L"Traktorgröße",
    L"Originalgröße",
    L"Größe 2X",
    L"Größe 4X",
    L"Größe 6X",
    L"Größe 8X",
    L"Ohne Traktor",
    L"Sonstiges",
    L"Textfarbe der Daten",
    L"Liniennummer anzeigen",
    L"Nach KML exportieren",
};

const wchar_t* const kRussian[kDialogTextCount] = {
    L"ОК",
    L"Отмена",
    L"Настройка",
    L"Ширина орудия (м)",
    L"Цвета",
    L"Цвет следа",
    L"Цвет фона",
    L"Прямолинейное вождение",
    L"Допуск стрелок (м)",
    L"Обзор",
    L"Ускорение обзора %d",
    L"",
    L"Настройка GPS",
    L"Использовать GPS Windows",
    L"GPS через COM-порт",
    L"Порт",
    L"Бод",
    L"Порог скорости %.1f км/ч",
    L"Порог расстояния %.1f м",
    L"Порог HDOP %.1f",
    L"Внутренние настройки",
    L"Масштаб трактора",
    L"Реальный масштаб",
    L"Масштаб 2X",
    L"Масштаб 4X",
    L"Масштаб 6X",
    L"Масштаб 8X",
    L"Без трактора",
    L"Разное",
    L"Цвет текста данных",
    L"Показывать номер линии",
    L"Экспорт в KML",
};

const wchar_t* const* const kTables[4] = {kEnglish, kSpanish, kGerman, kRussian};

const wchar_t* entry(int id) {
    if (id < 0 || id >= kDialogTextCount) return L"";
    return dialogTextTable(appState.ui.language)[id];
}

}  // namespace

const wchar_t* const* dialogTextTable(int language) {
    if (language < 0 || language > 3) return kEnglish;
    return kTables[language];
}

QString dialogText(int id) {
    return QString::fromWCharArray(entry(id));
}

// QString::asprintf formats in the C locale, so a German desktop still reads "2.5 m".
QString dialogTextFormat(int id, double value) {
    return QString::asprintf(dialogText(id).toUtf8().constData(), value);
}

QString dialogTextFormat(int id, int value) {
    return QString::asprintf(dialogText(id).toUtf8().constData(), value);
}
