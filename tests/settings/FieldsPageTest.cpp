// The Fields page against a real farm book in a folder of the test's own: the fields of an
// imported GeoJSON listed with their areas, renamed and deleted as the driver taps them (the book
// read back with GDAL), the headland and the boundary's settings kept in sulcovane.conf, and the
// Guide page handing a field's line to the next AB work.
#include <gdal.h>
#include <ogr_api.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "SheetHarness.h"
#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/ConfigFile.h"
#include "app/FarmConfig.h"
#include "app/FarmSession.h"
#include "app/FieldWork.h"
#include "farm/FarmBook.h"
#include "settings/FieldsPage.h"
#include "settings/GuidePage.h"

namespace {

using P = FieldsPage;

// Two fields at 48° N on the central meridian of UTM zone 31: 0.001° of longitude is 74.63 m
// there and 0.001° of latitude 111.19 m, so "Nord" (0.001° x 0.001°) is 0.83 ha and "Sud"
// (0.002° x 0.001°) 1.66 ha, whether the area is taken on the ellipsoid or in the zone.
const char* const kTwoFields = R"({"type": "FeatureCollection", "features": [
 {"type": "Feature", "properties": {"name": "Nord"}, "geometry": {"type": "Polygon",
  "coordinates": [[[3.0, 48.002], [3.001, 48.002], [3.001, 48.003], [3.0, 48.003], [3.0, 48.002]]]}},
 {"type": "Feature", "properties": {"name": "Sud"}, "geometry": {"type": "Polygon",
  "coordinates": [[[3.0, 48.0], [3.002, 48.0], [3.002, 48.001], [3.0, 48.001], [3.0, 48.0]]]}}]})";

// Sulcovane.conf, the farm book and the file of fields to import in a folder of the test's own.
class FarmFolder {
  public:
    FarmFolder() {
        stopFarmBook();
        std::snprintf(appState.layout.moduleDir, sizeof appState.layout.moduleDir, "%s/",
                      dir.path().toUtf8().constData());
        farmBookSetting() = (dir.path() + "/farm.gpkg").toStdString();
        startFarmBook();
        std::ofstream(fieldsFile()) << kTwoFields;
    }
    ~FarmFolder() {
        stopFarmBook();
        farmBookSetting().clear();
        workField.fieldId = 0;
    }
    std::string book() const { return farmBookSetting(); }
    std::string fieldsFile() const { return (dir.path() + "/fields.geojson").toStdString(); }

  private:
    QTemporaryDir dir;
};

// The names in the book's fields layer, read by GDAL itself.
QStringList namesInBook(const std::string& path) {
    drainFarmBook();
    GDALAllRegister();
    QStringList names;
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (!ds) return {"(no book)"};
    OGRLayerH layer = GDALDatasetGetLayerByName(ds, "fields");
    if (layer) {
        OGR_L_ResetReading(layer);
        while (OGRFeatureH f = OGR_L_GetNextFeature(layer)) {
            names << OGR_F_GetFieldAsString(f, OGR_F_GetFieldIndex(f, "name"));
            OGR_F_Destroy(f);
        }
    }
    GDALClose(ds);
    names.sort();
    return names;
}

// Answers the question the page asks next, once it is up.
void answerQuestion(const QString& button, QString& asked) {
    QTimer::singleShot(0, [button, &asked] {
        auto* box = dynamic_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        asked = box->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == button) b->click();
    });
}

// A name typed key by key; QTest's own typing knows only ASCII.
void typeName(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    for (QChar c : text) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), {});
}

}  // namespace

class FieldsPageTest : public SheetTest {
  protected:
    QStringList listed() {
        QStringList rows;
        auto* list = control<QListWidget>(P::kIdList);
        for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
        return rows;
    }
    // Until the page shows the book's reading after the farm thread is done.
    void settle(int rows) {
        drainFarmBook();
        for (int i = 0; i < 250 && control<QListWidget>(P::kIdList)->count() != rows; ++i)
            QTest::qWait(20);
    }
    void choose(const QString& row) {
        auto* list = control<QListWidget>(P::kIdList);
        const QList<QListWidgetItem*> found = list->findItems(row, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << row.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(found[0]).center());
    }
    void importFields(const FarmFolder& farm) {
        open(kStateStart);
        show("Fields");
        calls.fieldFiles = {farm.fieldsFile()};
        tap(control<QPushButton>(P::kIdImport));
        // The import's notice comes with the reading that follows it.
        settle(2);
    }
};

TEST_F(FieldsPageTest, ImportedFieldsAreListedRenamedAndDeletedInTheBook) {
    FarmFolder farm;
    importFields(farm);
    EXPECT_EQ(listed(), QStringList({"Nord   0.83 ha", "Sud   1.66 ha"}));
    EXPECT_EQ(control<QLabel>(P::kIdNotice)->text(), "2 fields, 2.49 ha");

    choose("Sud   1.66 ha");
    EXPECT_EQ(control<QLineEdit>(P::kIdName)->text(), "Sud");
    type(P::kIdName, "   ");
    tap(control<QPushButton>(P::kIdRename));
    EXPECT_EQ(control<QLabel>(P::kIdNotice)->text(), "A field needs a name");
    typeName(control<QLineEdit>(P::kIdName), "Südhang");
    tap(control<QPushButton>(P::kIdRename));
    settle(2);
    EXPECT_EQ(namesInBook(farm.book()), QStringList({"Nord", "Südhang"}));
    for (int i = 0; i < 50 && !listed().contains("Südhang   1.66 ha"); ++i) QTest::qWait(20);
    EXPECT_EQ(listed(), QStringList({"Nord   0.83 ha", "Südhang   1.66 ha"}));

    QString asked;
    choose("Nord   0.83 ha");
    answerQuestion("No", asked);
    tap(control<QPushButton>(P::kIdDelete));
    EXPECT_EQ(asked, "Delete the field \"Nord\" with its lines and works?");
    EXPECT_EQ(namesInBook(farm.book()), QStringList({"Nord", "Südhang"}));

    answerQuestion("Yes", asked);
    tap(control<QPushButton>(P::kIdDelete));
    settle(1);
    EXPECT_EQ(namesInBook(farm.book()), QStringList({"Südhang"}));
    EXPECT_EQ(listed(), QStringList({"Südhang   1.66 ha"}));
    tapCancel();
    EXPECT_TRUE(sheetClosed());
}

TEST_F(FieldsPageTest, HeadlandAndBoundaryAreKeptInTheConfigFile) {
    FarmFolder farm;
    open(kStateStart);
    show("Fields");
    control<QComboBox>(P::kIdPasses)->setCurrentIndex(2);
    control<QComboBox>(P::kIdBoundary)->setCurrentIndex(2);
    type(P::kIdOffset, "60");
    tapOk();
    EXPECT_FALSE(sheetClosed());
    EXPECT_EQ(control<QLabel>(P::kIdNotice)->text(),
              "The boundary's offset must be between −50 and 50 m");
    type(P::kIdOffset, "-2,5");
    tapOk();
    EXPECT_TRUE(sheetClosed());
    finishBackgroundWrites();
    {
        QSettings file(QString::fromStdString(configPath()), QSettings::IniFormat);
        EXPECT_EQ(file.value("farm/headland_passes").toInt(), 3);
        EXPECT_EQ(file.value("farm/boundary").toString(), "right");
        EXPECT_DOUBLE_EQ(file.value("farm/boundary_offset").toDouble(), -2.5);
    }

    appState.settings.headlandPasses = 1;
    appState.settings.boundarySource = kBoundaryAntenna;
    appState.settings.boundaryOffsetM = 0.0;
    loadFarmConfig();
    open(kStateStart);
    show("Fields");
    EXPECT_EQ(control<QComboBox>(P::kIdPasses)->currentText(), "3");
    EXPECT_EQ(control<QComboBox>(P::kIdBoundary)->currentText(), "Right edge");
    EXPECT_EQ(control<QLineEdit>(P::kIdOffset)->text(), "-2.5");
}

TEST_F(FieldsPageTest, GuidePageHandsTheFieldsLineToTheNextWork) {
    FarmFolder farm;
    importFields(farm);
    std::int64_t field = 0;
    for (const FieldEntry& f : farmContents().fields)
        if (f.name == "Sud") field = f.id;
    ASSERT_NE(field, 0);
    LineEntry curve;
    curve.fieldId = field;
    curve.name = "Bogen";
    curve.pattern = kPatternCurve;
    curve.path = {{3.0001, 48.0001}, {3.0010, 48.0004}, {3.0019, 48.0002}};
    curve.a = curve.path.front();
    curve.b = curve.path.back();
    postFarmJob([curve](FarmBook* book, const std::string&) {
        std::string error;
        ASSERT_NE(book, nullptr);
        EXPECT_NE(book->addLine(curve, error), 0) << error;
    });
    tapCancel();
    // The book is read again at its next opening.
    stopFarmBook();
    startFarmBook();
    drainFarmBook();
    takeFarmNews();

    workField.fieldId = field;
    appState.ui.savedLineLonLat.clear();
    open(kStateStart);
    show("Guide in straight line");
    auto* lines = control<QComboBox>(GuidePage::kIdFieldLine);
    ASSERT_EQ(lines->count(), 1);
    EXPECT_EQ(lines->itemText(0), "Bogen  (Curve A-B)");
    lines->setCurrentIndex(0);
    EXPECT_EQ(appState.ui.savedLineLonLat,
              std::vector<double>({3.0001, 48.0001, 3.0010, 48.0004, 3.0019, 48.0002}));
    EXPECT_EQ(appState.ui.savedLinePattern, kPatternCurve);
    appState.ui.savedLineLonLat.clear();
}
