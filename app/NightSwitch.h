// When the automatic palette turns to night and back: night once the sun is below -6 degrees
// (civil dusk), day again only once it is above -5 degrees, and either change only after the
// sun has stayed past its limit for two minutes, so that a sun near the limit, a jumping fix
// or a wrong time in one sentence never makes the screen flicker.
#pragma once

class NightSwitch {
  public:
    static constexpr double kNightBelow = -6.0;
    static constexpr double kDayAbove = -5.0;
    static constexpr double kHoldSeconds = 120.0;

    // The sun's elevation in degrees at clock time now (seconds, any steady origin); returns
    // whether it is night. The first reading decides at once.
    bool update(double elevation, double now);
    bool night() const { return night_; }

  private:
    bool known_ = false;
    bool night_ = false;
    bool pending_ = false;  // the other side's limit is passed, since pendingSince_
    double pendingSince_ = 0.0;
};
