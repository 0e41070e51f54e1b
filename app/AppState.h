// The program's one global record: settings, screens and flags, layout, images, the last fix,
// the guidance results and the work record. It is statically allocated and constant-initialised:
// every field starts from its initial value, or zero, before anything runs.
//
// Threads: the user-interface thread owns the screen fields; the receiver's reader thread writes
// the fix and guidance fields (under frameLock); the review and GPS-wait threads read and write
// the flags. Flags that cross threads are single atomic bytes; a reader that sees an old value
// acts one cycle late. Whoever draws a frame holds frameLock from the first drawing call to the
// present.
#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <mutex>
#include <vector>

#include "app/ButtonRect.h"
#include "guidance/CurveLines.h"
#include "guidance/GuidanceLines.h"
#include "guidance/GuidancePattern.h"
#include "guidance/PlanePoint.h"
#include "guidance/TrackEdge.h"
#include "guidance/Vec2.h"

namespace gfx {
class Surface;
class Display;
struct Font;
}  // namespace gfx
class DashedLine;
class OGRCoordinateTransformation;

using Flag = std::atomic<std::uint8_t>;

// A screen point of the work screen.
struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// A button's picture and where its top-left corner is drawn.
struct ButtonImage {
    gfx::Surface* image = nullptr;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};

inline constexpr int kScreenQuadPoints = 8192;
inline constexpr int kHeadingHistory = 20;
// Index into customColors.
enum : int { kCustomText = 0, kCustomTrack = 1, kCustomBackground = 2 };

// Screen states.
enum : std::uint8_t {
    kStateFreeWork = 0,
    kStateGuidance = 1,
    kStateSettingAB = 2,
    kStateStart = 3,
    kStateReview = 4,
    kStateConfirm = 5,
    kStateBeforeStart = 7,
    kStateGpsWait = 9,
};

// What Yes does on the confirmation screen.
enum : std::uint8_t {
    kConfirmClose = 0,
    kConfirmSave = 1,
    kConfirmFinish = 3,
    // Our own: resume the work of a journal found at start-up.
    kConfirmResume = 4,
    // Our own: saving would replace a work the file chooser did not ask about.
    kConfirmReplace = 5,
};

struct AppState {
    // ---- Settings (persisted in Settings.dat) ----
    float zoom = 3.0f;
    std::uint16_t implementHalfWidth = 600;  // cm
    std::uint16_t implementWidth = 1200;     // cm, always 2 x implementHalfWidth
    std::uint16_t arrowTolerance = 10;       // dm of cross-track error per arrow
    std::uint8_t showGuideNumbers = 1;
    std::uint32_t textColor = 0x00FF0000;  // COLORREF 0x00BBGGRR
    std::uint32_t trackColor = 0x0084EFFB;
    std::uint32_t backgroundColor = 0x0025C9A0;
    // The colour chooser's custom colours, one set per colour setting (text, track, background).
    std::uint32_t customColors[3][16] = {
        {0x8EC7F0, 0x84EFFB, 0xAC91EE, 0x72DB13, 0x638B6F, 0x89657E, 0x7B6688, 0x25C9A0, 0xB0F18D,
         0xDBC0A4, 0x4F7D9F, 0x935B61, 0xDC124F, 0x6415D9, 0xA8A046, 0xD80CE2},
        {0x8EC7F0, 0x84EFFB, 0xAC91EE, 0x72DB13, 0x638B6F, 0x89657E, 0x7B6688, 0x25C9A0, 0xB0F18D,
         0xDBC0A4, 0x4F7D9F, 0x935B61, 0xDC124F, 0x6415D9, 0xA8A046, 0xD80CE2},
        {0x8EC7F0, 0x84EFFB, 0xAC91EE, 0x72DB13, 0x638B6F, 0x89657E, 0x7B6688, 0x25C9A0, 0xB0F18D,
         0xDBC0A4, 0x4F7D9F, 0x935B61, 0xDC124F, 0x6415D9, 0xA8A046, 0xD80CE2}};
    std::uint8_t reviewStep = 1;  // never 0
    std::int8_t gpsPort = -1;
    std::uint8_t gpsBaudIndex = 255;
    std::uint8_t useWindowsGps = 0;
    std::uint8_t showVehicle = 1;
    std::uint8_t vehicleScaleIndex = 0;  // 0..4
    std::int16_t distanceThreshold = 5;  // dm
    std::uint16_t distanceThresholdSquared = 25;
    double speedThreshold = 1.0;  // knots
    double hdopThreshold = 2.5;
    std::uint16_t reservedBlock[33] = {};

    // ---- Run-time state and screens ----
    Flag screenState{kStateBeforeStart};
    std::uint8_t returnState = 0;
    std::uint8_t savedState = 0;
    std::uint8_t confirmKind = 0;
    char promptText[260] = {};
    std::uint8_t language = 0;  // 0 English, 1 Spanish, 2 German, 3 Russian
    const char* const* messageTables[4] = {};
    const wchar_t* const* dialogTextTables[4] = {};
    Flag menuOpen{0};
    Flag paused{0};
    Flag reviewRunning{0};
    Flag menuDuringReview{0};
    Flag pauseNoticePending{0};
    Flag waitingForFix{0};
    Flag redrawPending{0};
    Flag pictureBackground{0};
    Flag abReady{0};
    std::uint8_t soundCountdown = 0;
    std::uint8_t promptBlink = 0;
    Flag gpsRunning{0};
    std::atomic<std::int32_t> fixQuality{0};
    std::uint8_t satellitesUsed = 0;
    float hdop = 0.0f;
    float speedKnots = 0.0f;
    // The strip array is full: recording has stopped and the work screen says so.
    Flag workFull{0};

    // ---- Platform and layout ----
    char moduleDir[4096] = {};      // folder of the executable, ending with '/'
    std::uint32_t orientation = 0;  // 0 none, 1 = 90, 2 = 180, 3 = 270 degrees
    std::uint16_t screenWidth = 0;
    std::uint16_t screenHeight = 0;
    std::uint16_t halfScreenWidth = 0;
    std::uint16_t halfScreenHeight = 0;
    std::uint16_t screenWidthLimit = 0;   // width + 50: visibility limit of track drawing
    std::uint16_t screenHeightLimit = 0;  // height + 50
    std::uint16_t guideNumberRow = 0;
    std::uint8_t wideLayout = 0;  // layoutScale >= 2: the doubled pictures and sizes
    // Every size and offset of the layout is this many times the handheld's.
    std::uint8_t layoutScale = 1;
    // Not one of the four handheld screens: positions follow the screen's edges and centre,
    // the larger fonts and pictures apply and the cross-track error is shown large.
    std::uint8_t scaledLayout = 0;
    std::uint8_t barHeight = 0;
    std::uint8_t arrowSpacing = 0;
    std::uint8_t textMargin = 0;

    ButtonRect btnYes, btnNo, btnZoomIn, btnZoomOut, btnWorkMenu, btnViewToggle, btnFinish,
        btnStartFree, btnStartAB, btnReview, btnStartMenu, btnExit;
    ButtonImage imgYes, imgNo, imgZoomIn, imgZoomOut, imgWorkMenu, imgViewToggle, imgFinish,
        imgStartFree, imgStartAB, imgReview, imgStartMenu, imgExit, imgGpsSettings, imgGpsCancel;
    gfx::Surface* arrowRightImage = nullptr;  // drawn right of centre when steerLeft is set
    gfx::Surface* arrowLeftImage = nullptr;

    gfx::Display* display = nullptr;
    gfx::Font* font = nullptr;
    gfx::Font* readoutFont = nullptr;  // the large cross-track digits (16 x 32), scaled layouts
    gfx::Surface* backgroundImage = nullptr;
    gfx::Surface* pictureImage = nullptr;  // work-screen picture background (key 'f')
    ScreenPoint pictureQuad[4] = {{0, 0}, {240, 0}, {240, 320}, {0, 320}};
    gfx::Surface* vehicleSource = nullptr;
    gfx::Surface* vehicleImage = nullptr;
    DashedLine* dashLine = nullptr;

    // ---- Projection ----
    double originLonLat[2] = {};
    Flag originSet{0};
    OGRCoordinateTransformation* forwardTransform = nullptr;
    OGRCoordinateTransformation* inverseTransform = nullptr;
    double originX = 0.0;  // easting of the origin fix, dm
    double originY = 0.0;  // northing of the origin fix, dm

    // ---- Guidance view and track ----
    PlanePoint position;
    PlanePoint previousPosition;
    // The work has an accepted position: until then there is no vehicle to take A or B from.
    std::uint8_t positionSet = 0;
    float headingEast = 0.0f;
    float headingNorth = 0.0f;
    float headingHistoryEast[kHeadingHistory] = {};
    float headingHistoryNorth[kHeadingHistory] = {};
    float viewSin = 0.0f;
    float viewCos = 0.0f;
    std::int32_t viewOffsetX = 0;
    std::int32_t viewOffsetY = 0;
    std::uint8_t northUp = 0;
    std::uint8_t pointASet = 0;
    Vec2 pointA;
    Vec2 pointB;
    std::atomic<std::uint16_t> fixCount{0};
    TrackEdge trackEdges[kTrackCapacity] = {};
    ScreenPoint screenQuads[kScreenQuadPoints] = {};
    std::vector<std::uint16_t> screenGaps;
    std::vector<std::uint16_t> pauseMarks;
    Vec2 guideLinesWorld[6];
    ScreenPoint guideLinesScreen[6] = {};
    ScreenPoint pointAScreen;
    double workedArea = 0.0;  // dm^2
    double distance = 0.0;    // dm
    double crossTrack = 0.0;  // dm, positive: right of the line, steer left
    std::int32_t guideNumber = 0;
    std::uint8_t arrowCount = 0;
    std::uint8_t steerLeft = 0;
    GuidanceLines guidance;

    // ---- Guidance patterns (sulcovane.conf [guidance]) ----
    std::uint8_t guidancePattern = kPatternStraight;
    // Degrees clockwise from true north; NaN when none is typed (the smoothed heading is used).
    double headingDegrees = std::numeric_limits<double>::quiet_NaN();
    // Longitude and latitude of the last accepted position, for the heading's grid direction.
    double positionLonLat[2] = {};
    // The work is guided along curve rather than guidance.
    std::uint8_t curveActive = 0;
    // The path driven since A while a curve is being recorded.
    std::vector<Vec2> curveRecording;
    CurveGuidance curve;
    // The followed curve, its left and its right neighbour, as far as the view reaches.
    std::vector<Vec2> curveLinesWorld[3];
    std::vector<ScreenPoint> curveLinesScreen[3];
    std::vector<ScreenPoint> curveRecordScreen;
    // A line chosen from a saved work, in longitude and latitude pairs, waiting for the next AB
    // work's first position; its pattern.
    std::vector<double> savedLineLonLat;
    std::uint8_t savedLinePattern = kPatternStraight;

    // ---- Review ----
    std::vector<PlanePoint> reviewPositions;
    std::vector<Vec2> reviewHeadings;

    // Serialises the fix callback's changes against the drawing of a frame.
    std::mutex frameLock;
};

extern AppState appState;
