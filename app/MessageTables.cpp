#include "app/MessageTables.h"

namespace {

// Entries 8, 10 and 11 are never shown and stay empty.
// English.
const char* const kEnglish[kMessageCount] = {
    "Do you want to save the work to a file?",
    "Do you really want to close the Program?",
    "Drive straight before to set the Point B",
    "Touch the screen to set the Point A",
    "Welcome to Sulcovane. Please, wait...",
    "Waiting for a valid GPS signal... Current signal type is %s",
    "Exiting...",
    "Do you really want to finish the work?",
    "",
    "The review has finished. Touch the screen to return to main menu",
    "",
    "",
    "PAUSED",
    "WORK FULL - save it",
    "Waiting for a valid GPS signal... No data",
    "RTK fix lost",
    "Corrections: wrong user or password",
    "Corrections: unknown mountpoint",
    "Corrections: caster name not found",
    "Corrections: connection refused",
    "Corrections: caster does not answer",
    "Corrections: no data",
    "Resume the interrupted work?",
    "The interrupted work was saved to %s. Touch the screen to continue",
    "A work with this name exists. Replace it?",
    "Drive along the curve, then touch the screen to set the Point B",
    "Line too far",
    "The saved line is %s km away: not used",
    "Worked ground ahead",
    "overlap",
    "Choose the field",
    "No field",
    "Drive a new boundary",
    "Continue the last work",
    "Finish boundary",
    "Boundary ahead",
    "Headland",
    "Do you want to save the work in the farm book?",
    "in the field",
    "of",
    "New field: %s ha",
    "Saving the work in the farm book...",
    "Auto",
    "Manual",
    "Off",
};

// Spanish.
const char* const kSpanish[kMessageCount] = {
    "Desea guardar el trabajo en un archivo?",
    "Desea realmente cerrar el programa?",
    "Conduzca recto antes de fijar el Punto B",
    "Toque la pantalla para fijar el Punto A",
    "Bienvenido a Sulcovane. Por favor, espere...",
    "Esperando senal de GPS valida... Senal actual es de tipo %s",
    "Cerrando...",
    "Desea realmente finalizar el trabajo?",
    "",
    "La reproduccion ha finalizado. Toque la pantalla para volver al menu principal",
    "",
    "",
    "EN PAUSA",
    "TRABAJO LLENO - guardelo",
    "Esperando senal de GPS valida... Sin datos",
    "Fijo RTK perdido",
    "Correcciones: usuario o clave incorrectos",
    "Correcciones: punto de montaje desconocido",
    "Correcciones: nombre del caster no encontrado",
    // Correcciones: conexión rechazada
    "Correcciones: conexi\xA2n rechazada",
    "Correcciones: el caster no responde",
    "Correcciones: sin datos",
    "Reanudar el trabajo interrumpido?",
    "El trabajo interrumpido se guardo en %s. Toque la pantalla para continuar",
    "Ya existe un trabajo con este nombre. Reemplazarlo?",
    "Conduzca por la curva y toque la pantalla para fijar el Punto B",
    // Línea demasiado lejos
    "L\xA1nea demasiado lejos",
    // Línea guardada a %s km: no se usa
    "L\xA1nea guardada a %s km: no se usa",
    "Terreno trabajado delante",
    "solape",
    "Elija la parcela",
    "Sin parcela",
    // Recorrer un nuevo límite
    "Recorrer un nuevo l\xA1mite",
    // Continuar el último trabajo
    "Continuar el \xA3ltimo trabajo",
    // Terminar el límite
    "Terminar el l\xA1mite",
    // Límite delante
    "L\xA1mite delante",
    "Cabecera",
    "Desea guardar el trabajo en el libro de la finca?",
    "en la parcela",
    "de",
    "Parcela nueva: %s ha",
    "Guardando el trabajo en el libro de la finca...",
    "Auto",
    "Manual",
    "Apagado",
};

// German, code page 437.
const char* const kGerman[kMessageCount] = {
    "Wollen Sie die Fahrspur speichern?",
    "Wollen Sie das Programm beenden?",
    "Fahren Sie geradeaus und setzen dann Punkt B",
    // Berühren Sie den Bildschirm um Punkt A zu setzen
    "Ber\x81hren Sie den Bildschirm um Punkt A zu setzen",
    "Hallo zu Sulcovane. Bitte warten",
    // Bitte warten Sie für auf ein verwendbares GPS Signal... Der aktuelle Signalstatus ist %s
    "Bitte warten Sie f\x81r auf ein verwendbares GPS Signal... Der aktuelle Signalstatus ist %s",
    "Closing...",
    "Wollen Sie die Bearbeitung abbrechen",
    "",
    "The review has finished. Touch the screen to return to main menu",
    "",
    "",
    "PAUSED",
    "SPUR VOLL - speichern",
    // Bitte warten Sie für auf ein verwendbares GPS Signal... Keine Daten
    "Bitte warten Sie f\x81r auf ein verwendbares GPS Signal... Keine Daten",
    "RTK-Fix verloren",
    "Korrekturen: Benutzer oder Passwort falsch",
    "Korrekturen: Mountpoint unbekannt",
    "Korrekturen: Caster-Name nicht gefunden",
    "Korrekturen: Verbindung abgelehnt",
    "Korrekturen: Caster antwortet nicht",
    "Korrekturen: keine Daten",
    "Unterbrochene Arbeit fortsetzen?",
    // Die unterbrochene Arbeit wurde in %s gespeichert. Berühren Sie den Bildschirm
    "Die unterbrochene Arbeit wurde in %s gespeichert. Ber\x81hren Sie den Bildschirm",
    "Eine Arbeit mit diesem Namen existiert. Ersetzen?",
    // Fahren Sie die Kurve ab, dann Bildschirm für Punkt B berühren
    "Fahren Sie die Kurve ab, dann Bildschirm f\x81r Punkt B ber\x81hren",
    "Linie zu weit entfernt",
    "Gespeicherte Linie %s km entfernt: nicht verwendet",
    "Bearbeitete Fl\x84"
    "che voraus",
    "\x9A"
    "berlappung",
    // Schlag wählen
    "Schlag w\x84hlen",
    "Kein Schlag",
    "Neue Grenze abfahren",
    "Letzte Arbeit fortsetzen",
    // Grenze abschließen
    "Grenze abschlie\xE1"
    "en",
    "Grenze voraus",
    "Vorgewende",
    "Wollen Sie die Arbeit im Betriebsbuch speichern?",
    "im Schlag",
    "von",
    "Neuer Schlag: %s ha",
    "Die Arbeit wird im Betriebsbuch gespeichert...",
    "Auto",
    "Manuell",
    "Aus",
};

// Russian, code page 866.
const char* const kRussian[kMessageCount] = {
    // Вы хотите сохранить работу в файл?
    "\x82\xEB \xE5\xAE\xE2\xA8\xE2\xA5 \xE1\xAE\xE5\xE0\xA0\xAD\xA8\xE2\xEC "
    "\xE0\xA0\xA1\xAE\xE2\xE3 \xA2 \xE4\xA0\xA9\xAB?",
    // Вы действительно хотите закрыть программу?
    "\x82\xEB \xA4\xA5\xA9\xE1\xE2\xA2\xA8\xE2\xA5\xAB\xEC\xAD\xAE \xE5\xAE\xE2\xA8\xE2\xA5 "
    "\xA7\xA0\xAA\xE0\xEB\xE2\xEC \xAF\xE0\xAE\xA3\xE0\xA0\xAC\xAC\xE3?",
    // Проедьте для установки точки B
    "\x8F\xE0\xAE\xA5\xA4\xEC\xE2\xA5 \xA4\xAB\xEF \xE3\xE1\xE2\xA0\xAD\xAE\xA2\xAA\xA8 "
    "\xE2\xAE\xE7\xAA\xA8 B",
    // Коснитесь экрана для установки точки A
    "\x8A\xAE\xE1\xAD\xA8\xE2\xA5\xE1\xEC \xED\xAA\xE0\xA0\xAD\xA0 \xA4\xAB\xEF "
    "\xE3\xE1\xE2\xA0\xAD\xAE\xA2\xAA\xA8 \xE2\xAE\xE7\xAA\xA8 A",
    // Добро пожаловать в Sulcovane. Пожалуйста, подождите...
    "\x84\xAE\xA1\xE0\xAE \xAF\xAE\xA6\xA0\xAB\xAE\xA2\xA0\xE2\xEC \xA2 Sulcovane. "
    "\x8F\xAE\xA6\xA0\xAB\xE3\xA9\xE1\xE2\xA0, \xAF\xAE\xA4\xAE\xA6\xA4\xA8\xE2\xA5...",
    // Ожидание доступных спутников... Текущий сигнал %s
    "\x8E\xA6\xA8\xA4\xA0\xAD\xA8\xA5 \xA4\xAE\xE1\xE2\xE3\xAF\xAD\xEB\xE5 "
    "\xE1\xAF\xE3\xE2\xAD\xA8\xAA\xAE\xA2... \x92\xA5\xAA\xE3\xE9\xA8\xA9 \xE1\xA8\xA3\xAD\xA0\xAB "
    "%s",
    // Выход...
    "\x82\xEB\xE5\xAE\xA4...",
    // Вы действительно хотите закончить работу?
    "\x82\xEB \xA4\xA5\xA9\xE1\xE2\xA2\xA8\xE2\xA5\xAB\xEC\xAD\xAE \xE5\xAE\xE2\xA8\xE2\xA5 "
    "\xA7\xA0\xAA\xAE\xAD\xE7\xA8\xE2\xEC \xE0\xA0\xA1\xAE\xE2\xE3?",
    "",
    // Обзор завершен. Коснитесь экрана для возврата в главное меню
    "\x8E\xA1\xA7\xAE\xE0 \xA7\xA0\xA2\xA5\xE0\xE8\xA5\xAD. \x8A\xAE\xE1\xAD\xA8\xE2\xA5\xE1\xEC "
    "\xED\xAA\xE0\xA0\xAD\xA0 \xA4\xAB\xEF \xA2\xAE\xA7\xA2\xE0\xA0\xE2\xA0 \xA2 "
    "\xA3\xAB\xA0\xA2\xAD\xAE\xA5 \xAC\xA5\xAD\xEE",
    "",
    "",
    // ПАУЗА
    "\x8F\x80\x93\x87\x80",
    // ПАМЯТЬ ПОЛНА - сохраните
    "\x8F\x80\x8C\x9F\x92\x9C \x8F\x8E\x8B\x8D\x80 - \xE1\xAE\xE5\xE0\xA0\xAD\xA8\xE2\xA5",
    // Ожидание доступных спутников... Нет данных
    "\x8E\xA6\xA8\xA4\xA0\xAD\xA8\xA5 \xA4\xAE\xE1\xE2\xE3\xAF\xAD\xEB\xE5 "
    "\xE1\xAF\xE3\xE2\xAD\xA8\xAA\xAE\xA2... \x8D\xA5\xE2 \xA4\xA0\xAD\xAD\xEB\xE5",
    // RTK-фиксация потеряна
    "RTK-\xE4\xA8\xAA\xE1\xA0\xE6\xA8\xEF \xAF\xAE\xE2\xA5\xE0\xEF\xAD\xA0",
    // Поправки: неверный логин или пароль
    "\x8F\xAE\xAF\xE0\xA0\xA2\xAA\xA8: \xAD\xA5\xA2\xA5\xE0\xAD\xEB\xA9 \xAB\xAE\xA3\xA8\xAD "
    "\xA8\xAB\xA8 \xAF\xA0\xE0\xAE\xAB\xEC",
    // Поправки: неизвестная точка подключения
    "\x8F\xAE\xAF\xE0\xA0\xA2\xAA\xA8: \xAD\xA5\xA8\xA7\xA2\xA5\xE1\xE2\xAD\xA0\xEF "
    "\xE2\xAE\xE7\xAA\xA0 \xAF\xAE\xA4\xAA\xAB\xEE\xE7\xA5\xAD\xA8\xEF",
    // Поправки: имя кастера не найдено
    "\x8F\xAE\xAF\xE0\xA0\xA2\xAA\xA8: \xA8\xAC\xEF \xAA\xA0\xE1\xE2\xA5\xE0\xA0 \xAD\xA5 "
    "\xAD\xA0\xA9\xA4\xA5\xAD\xAE",
    // Поправки: соединение отклонено
    "\x8F\xAE\xAF\xE0\xA0\xA2\xAA\xA8: \xE1\xAE\xA5\xA4\xA8\xAD\xA5\xAD\xA8\xA5 "
    "\xAE\xE2\xAA\xAB\xAE\xAD\xA5\xAD\xAE",
    // Поправки: кастер не отвечает
    "\x8F\xAE\xAF\xE0\xA0\xA2\xAA\xA8: \xAA\xA0\xE1\xE2\xA5\xE0 \xAD\xA5 "
    "\xAE\xE2\xA2\xA5\xE7\xA0\xA5\xE2",
    // Поправки: нет данных
    "\x8F\xAE\xAF\xE0\xA0\xA2\xAA\xA8: \xAD\xA5\xE2 \xA4\xA0\xAD\xAD\xEB\xE5",
    // Продолжить прерванную работу?
    "\x8F\xE0\xAE\xA4\xAE\xAB\xA6\xA8\xE2\xEC \xAF\xE0\xA5\xE0\xA2\xA0\xAD\xAD\xE3\xEE "
    "\xE0\xA0\xA1\xAE\xE2\xE3?",
    // Прерванная работа сохранена в %s. Коснитесь экрана
    "\x8F\xE0\xA5\xE0\xA2\xA0\xAD\xAD\xA0\xEF \xE0\xA0\xA1\xAE\xE2\xA0 "
    "\xE1\xAE\xE5\xE0\xA0\xAD\xA5\xAD\xA0 \xA2 %s. \x8A\xAE\xE1\xAD\xA8\xE2\xA5\xE1\xEC "
    "\xED\xAA\xE0\xA0\xAD\xA0",
    // Работа с таким именем существует. Заменить?
    "\x90\xA0\xA1\xAE\xE2\xA0 \xE1 \xE2\xA0\xAA\xA8\xAC \xA8\xAC\xA5\xAD\xA5\xAC "
    "\xE1\xE3\xE9\xA5\xE1\xE2\xA2\xE3\xA5\xE2. \x87\xA0\xAC\xA5\xAD\xA8\xE2\xEC?",
    // Проедьте по кривой и коснитесь экрана для установки точки B
    "\x8F\xE0\xAE\xA5\xA4\xEC\xE2\xA5 \xAF\xAE \xAA\xE0\xA8\xA2\xAE\xA9 \xA8 "
    "\xAA\xAE\xE1\xAD\xA8\xE2\xA5\xE1\xEC \xED\xAA\xE0\xA0\xAD\xA0 \xA4\xAB\xEF "
    "\xE3\xE1\xE2\xA0\xAD\xAE\xA2\xAA\xA8 \xE2\xAE\xE7\xAA\xA8 B",
    // Линия слишком далеко
    "\x8B\xA8\xAD\xA8\xEF \xE1\xAB\xA8\xE8\xAA\xAE\xAC \xA4\xA0\xAB\xA5\xAA\xAE",
    // Сохраненная линия в %s км: не используется
    "\x91\xAE\xE5\xE0\xA0\xAD\xA5\xAD\xAD\xA0\xEF \xAB\xA8\xAD\xA8\xEF \xA2 %s \xAA\xAC: "
    "\xAD\xA5 \xA8\xE1\xAF\xAE\xAB\xEC\xA7\xE3\xA5\xE2\xE1\xEF",
    // Впереди обработанная земля
    "\x82\xAF\xA5\xE0\xA5\xA4\xA8 \xAE\xA1\xE0\xA0\xA1\xAE\xE2\xA0\xAD\xAD\xA0\xEF "
    "\xA7\xA5\xAC\xAB\xEF",
    // перекрытие
    "\xAF\xA5\xE0\xA5\xAA\xE0\xEB\xE2\xA8\xA5",
    // Выберите поле
    "\x82\xEB\xA1\xA5\xE0\xA8\xE2\xA5 \xAF\xAE\xAB\xA5",
    // Без поля
    "\x81\xA5\xA7 \xAF\xAE\xAB\xEF",
    // Объехать новую границу
    "\x8E\xA1\xEA\xA5\xE5\xA0\xE2\xEC \xAD\xAE\xA2\xE3\xEE \xA3\xE0\xA0\xAD\xA8\xE6\xE3",
    // Продолжить последнюю работу
    "\x8F\xE0\xAE\xA4\xAE\xAB\xA6\xA8\xE2\xEC \xAF\xAE\xE1\xAB\xA5\xA4\xAD\xEE\xEE "
    "\xE0\xA0\xA1\xAE\xE2\xE3",
    // Закончить границу
    "\x87\xA0\xAA\xAE\xAD\xE7\xA8\xE2\xEC \xA3\xE0\xA0\xAD\xA8\xE6\xE3",
    // Впереди граница
    "\x82\xAF\xA5\xE0\xA5\xA4\xA8 \xA3\xE0\xA0\xAD\xA8\xE6\xA0",
    // Разворотная полоса
    "\x90\xA0\xA7\xA2\xAE\xE0\xAE\xE2\xAD\xA0\xEF \xAF\xAE\xAB\xAE\xE1\xA0",
    // Сохранить работу в книге хозяйства?
    "\x91\xAE\xE5\xE0\xA0\xAD\xA8\xE2\xEC \xE0\xA0\xA1\xAE\xE2\xE3 \xA2 \xAA\xAD\xA8\xA3\xA5 "
    "\xE5\xAE\xA7\xEF\xA9\xE1\xE2\xA2\xA0?",
    // в поле
    "\xA2 \xAF\xAE\xAB\xA5",
    // из
    "\xA8\xA7",
    // Новое поле: %s га
    "\x8D\xAE\xA2\xAE\xA5 \xAF\xAE\xAB\xA5: %s \xA3\xA0",
    // Сохранение работы в книгу хозяйства...
    "\x91\xAE\xE5\xE0\xA0\xAD\xA5\xAD\xA8\xA5 \xE0\xA0\xA1\xAE\xE2\xEB \xA2 \xAA\xAD\xA8\xA3\xE3 "
    "\xE5\xAE\xA7\xEF\xA9\xE1\xE2\xA2\xA0...",
    // Авто
    "\x80\xA2\xE2\xAE",
    // Ручной
    "\x90\xE3\xE7\xAD\xAE\xA9",
    // Выкл
    "\x82\xEB\xAA\xAB",
};
}  // namespace

const char* const* const kMessageTables[kLanguageCount] = {kEnglish, kSpanish, kGerman, kRussian};
