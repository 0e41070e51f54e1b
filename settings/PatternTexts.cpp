#include "settings/PatternTexts.h"

#include "app/AppState.h"

namespace {

const wchar_t* const kTexts[4][kPatternTextCount] = {
    {L"Guidance pattern", L"Straight A-B", L"A + heading", L"Curve A-B",
     L"Heading (degrees; empty: as driven)", L"Line of a saved work\u2026",
     L"This work has no saved guide line.", L"Warn of worked ground ahead", L"Ahead", L"Ahead: off",
     L"Line of the field", L"This field has no lines"},
    {L"Tipo de guiado", L"Recta A-B", L"A + rumbo", L"Curva A-B",
     L"Rumbo (grados; vac\u00edo: el de marcha)", L"L\u00ednea de un trabajo guardado\u2026",
     L"Este trabajo no tiene l\u00ednea guardada.", L"Avisar de terreno trabajado delante",
     L"Delante", L"Delante: no", L"L\u00ednea del campo", L"Este campo no tiene l\u00edneas"},
    {L"Spurf\u00fchrung", L"Gerade A-B", L"A + Richtung", L"Kurve A-B",
     L"Richtung (Grad; leer: wie gefahren)", L"Linie einer gespeicherten Arbeit\u2026",
     L"Diese Arbeit hat keine gespeicherte Linie.", L"Vor bearbeiteter Fl\u00e4che warnen",
     L"Voraus", L"Voraus: aus", L"Linie des Feldes", L"Dieses Feld hat keine Linien"},
    {L"\u0412\u0438\u0434 \u043b\u0438\u043d\u0438\u0438",
     L"\u041f\u0440\u044f\u043c\u0430\u044f A-B", L"A + \u043a\u0443\u0440\u0441",
     L"\u041a\u0440\u0438\u0432\u0430\u044f A-B",
     L"\u041a\u0443\u0440\u0441 (\u0433\u0440\u0430\u0434\u0443\u0441\u044b; "
     L"\u043f\u0443\u0441\u0442\u043e: "
     L"\u043f\u043e \u0434\u0432\u0438\u0436\u0435\u043d\u0438\u044e)",
     L"\u041b\u0438\u043d\u0438\u044f "
     L"\u0441\u043e\u0445\u0440\u0430\u043d\u0451\u043d\u043d\u043e\u0439 "
     L"\u0440\u0430\u0431\u043e\u0442\u044b\u2026",
     L"\u0423 \u044d\u0442\u043e\u0439 \u0440\u0430\u0431\u043e\u0442\u044b \u043d\u0435\u0442 "
     L"\u0441\u043e\u0445\u0440\u0430\u043d\u0451\u043d\u043d\u043e\u0439 "
     L"\u043b\u0438\u043d\u0438\u0438.",
     // Предупреждать об обработанной земле впереди
     L"\u041f\u0440\u0435\u0434\u0443\u043f\u0440\u0435\u0436\u0434\u0430\u0442\u044c "
     L"\u043e\u0431 \u043e\u0431\u0440\u0430\u0431\u043e\u0442\u0430\u043d\u043d\u043e\u0439 "
     L"\u0437\u0435\u043c\u043b\u0435 \u0432\u043f\u0435\u0440\u0435\u0434\u0438",
     // Впереди; Впереди: нет
     L"\u0412\u043f\u0435\u0440\u0435\u0434\u0438",
     L"\u0412\u043f\u0435\u0440\u0435\u0434\u0438: \u043d\u0435\u0442",
     // Линия поля; У этого поля нет линий
     L"\u041b\u0438\u043d\u0438\u044f \u043f\u043e\u043b\u044f",
     L"\u0423 \u044d\u0442\u043e\u0433\u043e \u043f\u043e\u043b\u044f \u043d\u0435\u0442 "
     L"\u043b\u0438\u043d\u0438\u0439"},
};

}  // namespace

QString patternText(PatternTextId id) {
    const int language = appState.ui.language < 4 ? appState.ui.language : 0;
    return QString::fromWCharArray(kTexts[language][id]);
}
