#pragma once

// Heart-rate training figures shown by the user information dialog. They are
// derived from the profile each time and never stored.

// Age in full years on the given day: one less until the birthday has come in
// that year. Works on the three numbers, so 31 February is a valid birthday
// (it counts as not yet reached until March).
int ageInYears(int birthYear, int birthMonth, int birthDay, int year, int month, int day);

// 220 - age.
int maximumHeartRate(int age);

// The heart-rate reserve (Karvonen) method: rest + (maximum - rest) x share,
// truncated toward zero. Results outside the int range saturate instead of
// overflowing, since the rates come straight from typed text.
struct TargetHeartRates {
    int low;  // 55 % of the reserve
    int mid;  // 65 %
    int high; // 85 %
};
TargetHeartRates karvonenRates(int maximum, int rest);

// rest + (maximum - rest) x intensity %, truncated toward zero.
int rateAtIntensity(int maximum, int rest, int intensity);
