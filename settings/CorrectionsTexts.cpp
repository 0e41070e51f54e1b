#include "settings/CorrectionsTexts.h"

#include "app/AppState.h"

namespace {

const char* const kEnglish[kCorTextCount] = {
    "Corrections",
    "Corrections on",
    "Caster",
    "Port",
    "Mountpoint",
    "List",
    "User",
    "Password",
    "NTRIP version",
    "Corrections are off",
    "Connecting again in %1 s",
    "Connecting...",
    "Receiving corrections: %1 good frames, %2 bad",
    "%1 mountpoints, nearest first",
    "Wrong user or password",
    "Unknown mountpoint: choose one from the list",
    "Caster name not found",
    "Connection refused by the caster",
    "The caster does not answer",
    "No data from the caster",
    "Enter the caster's name first",
};

const char* const kSpanish[kCorTextCount] = {
    "Correcciones",
    "Correcciones activas",
    "Caster",
    "Puerto",
    "Punto de montaje",
    "Listar",
    "Usuario",
    "Contraseña",
    "Versión de NTRIP",
    "Correcciones desactivadas",
    "Nueva conexión en %1 s",
    "Conectando...",
    "Recibiendo correcciones: %1 tramas buenas, %2 malas",
    "%1 puntos de montaje, el más cercano primero",
    "Usuario o contraseña incorrectos",
    "Punto de montaje desconocido: elija uno de la lista",
    "Nombre del caster no encontrado",
    "El caster rechazó la conexión",
    "El caster no responde",
    "Sin datos del caster",
    "Escriba primero el nombre del caster",
};

const char* const kGerman[kCorTextCount] = {
    "Korrekturen",
    "Korrekturen ein",
    "Caster",
    "Port",
    "Mountpoint",
    "Auflisten",
    "Benutzer",
    "Passwort",
    "NTRIP-Version",
    "Korrekturen sind aus",
    "Neue Verbindung in %1 s",
    "Verbinde...",
    "Korrekturen kommen: %1 gute Rahmen, %2 schlechte",
    "%1 Mountpoints, der nächste zuerst",
    "Benutzer oder Passwort falsch",
    "Mountpoint unbekannt: bitte aus der Liste wählen",
    "Caster-Name nicht gefunden",
    "Der Caster lehnt die Verbindung ab",
    "Der Caster antwortet nicht",
    "Keine Daten vom Caster",
    "Bitte zuerst den Caster-Namen eingeben",
};

const char* const kRussian[kCorTextCount] = {
    "Поправки",
    "Поправки включены",
    "Кастер",
    "Порт",
    "Точка подключения",
    "Список",
    "Пользователь",
    "Пароль",
    "Версия NTRIP",
    "Поправки выключены",
    "Новое подключение через %1 с",
    "Подключение...",
    "Поправки поступают: %1 верных кадров, %2 неверных",
    "Точек подключения: %1, ближайшие первыми",
    "Неверный логин или пароль",
    "Неизвестная точка подключения: выберите из списка",
    "Имя кастера не найдено",
    "Кастер отклонил подключение",
    "Кастер не отвечает",
    "Нет данных от кастера",
    "Сначала введите имя кастера",
};

const char* const* const kTables[] = {kEnglish, kSpanish, kGerman, kRussian};

}  // namespace

QString correctionsText(int id) {
    if (id < 0 || id >= kCorTextCount) return {};
    const int language = appState.ui.language <= 3 ? appState.ui.language : 0;
    return QString::fromUtf8(kTables[language][id]);
}
