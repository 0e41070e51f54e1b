#include "settings/SectionsTexts.h"

#include "app/AppState.h"

namespace {

const char* const kEnglish[kSecTextCount] = {
    "Sections",
    "Number of sections",
    "Section widths (cm, left to right)",
    "empty: equal widths",
    "Turn-on time (s)",
    "Turn-off time (s)",
    "Off over worked ground from (%)",
    "Minimum speed (km/h)",
    "Off in the headland",
    "Section controllers",
    "udp://HOST:PORT or /dev/…",
    ("Sections switch within 5 cm of their place at 10 Hz, within one fix's travel with a 1 Hz "
     "receiver"),
    "%1: a number from %2 to %3",
    "The widths add up to %1 cm, the implement is %2 cm",
    "The widths list %1 sections, the number of sections is %2",
    "Width %1 is not a whole number of centimetres",
    "An implement of %1 cm cannot have %2 sections",
    "The section controllers' address is neither udp://HOST:PORT nor a device path",
};

const char* const kSpanish[kSecTextCount] = {
    "Secciones",
    "Número de secciones",
    "Anchos de sección (cm, de izquierda a derecha)",
    "vacío: anchos iguales",
    "Tiempo de encendido (s)",
    "Tiempo de apagado (s)",
    "Apagar sobre lo trabajado desde (%)",
    "Velocidad mínima (km/h)",
    "Apagar en la cabecera",
    "Controladores de sección",
    "udp://HOST:PUERTO o /dev/…",
    ("Las secciones conmutan a menos de 5 cm de su sitio a 10 Hz, y dentro del avance de una "
     "posición con un receptor de 1 Hz"),
    "%1: un número de %2 a %3",
    "Los anchos suman %1 cm, el apero mide %2 cm",
    "Los anchos dan %1 secciones, el número de secciones es %2",
    "El ancho %1 no es un número entero de centímetros",
    "Un apero de %1 cm no puede tener %2 secciones",
    "La dirección de los controladores no es udp://HOST:PUERTO ni la ruta de un dispositivo",
};

const char* const kGerman[kSecTextCount] = {
    "Teilbreiten",
    "Anzahl der Teilbreiten",
    "Breiten (cm, von links nach rechts)",
    "leer: gleiche Breiten",
    "Einschaltzeit (s)",
    "Ausschaltzeit (s)",
    "Aus über Bearbeitetem ab (%)",
    "Mindestgeschwindigkeit (km/h)",
    "Aus im Vorgewende",
    "Teilbreitensteuerung",
    "udp://HOST:PORT oder /dev/…",
    ("Die Teilbreiten schalten bei 10 Hz auf 5 cm genau, mit einem 1-Hz-Empfänger innerhalb der "
     "Strecke einer Position"),
    "%1: eine Zahl von %2 bis %3",
    "Die Breiten ergeben %1 cm, das Gerät ist %2 cm breit",
    "Die Breiten nennen %1 Teilbreiten, die Anzahl ist %2",
    "Breite %1 ist keine ganze Zahl von Zentimetern",
    "Ein Gerät von %1 cm kann keine %2 Teilbreiten haben",
    "Die Adresse der Teilbreitensteuerung ist weder udp://HOST:PORT noch ein Gerätepfad",
};

const char* const kRussian[kSecTextCount] = {
    "Секции",
    "Число секций",
    "Ширины секций (см, слева направо)",
    "пусто: равные ширины",
    "Время включения (с)",
    "Время выключения (с)",
    "Выключать над обработанным от (%)",
    "Минимальная скорость (км/ч)",
    "Выкл. на поворотной полосе",
    "Контроллеры секций",
    "udp://ХОСТ:ПОРТ или /dev/…",
    ("Секции переключаются с точностью 5 см при 10 Гц и в пределах пути за одну позицию с "
     "приёмником 1 Гц"),
    "%1: число от %2 до %3",
    "Ширины дают в сумме %1 см, ширина орудия %2 см",
    "В ширинах %1 секций, а число секций %2",
    "Ширина %1 не является целым числом сантиметров",
    "Орудие шириной %1 см не может иметь %2 секций",
    "Адрес контроллеров секций не udp://ХОСТ:ПОРТ и не путь устройства",
};

const char* const* const kTables[] = {kEnglish, kSpanish, kGerman, kRussian};

}  // namespace

QString sectionsText(int id) {
    if (id < 0 || id >= kSecTextCount) return {};
    const int language = appState.ui.language <= 3 ? appState.ui.language : 0;
    return QString::fromUtf8(kTables[language][id]);
}
