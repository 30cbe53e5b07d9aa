#pragma once
// The game's tuning constants: every number of the rules in one place.

namespace pimwarden {

/// Set once by the constructor and never changed. Speeds are pixels per millisecond, times and
/// delays milliseconds, heights pixels above the bottom of the screen.
class Specs {
  public:
    Specs();

    float menuPimFadeSpeed;
    float menuTitleFadeSpeed;
    float pimSpeed;
    float fallSpeed;
    float stoneOffsetY;
    float reloadDelayStart;
    float reloadSpeed;
    float reloadDelayBonus;
    float reloadDelayMin;
    float foeClimbSpeed;
    float foeStrafeSpeed;
    float spawnIntervalStart;
    float spawnIntervalStep;
    float spawnIntervalMin;
    float wallTop;
    int foePauseStart;
    int foePauseStep;
    int foePauseMin;
    int foePauseRandom;
    int foeClimbTime;
    int foeStrafeTime;
    int foeDecisionRange;
    int foeClimbChanceMin;
    int foeClimbChanceMax;
    float cryHeightMedium;
    float cryHeightHigh;
    float cryHeightVeryHigh;
    int knockDistanceMin;
    int knockDistanceMax;
    int bonusHitsStart;
    int bonusHitsStep;
    /// Pim walks between these x positions (the screen's width).
    float walkMin;
    float walkMax;
};

extern const Specs specs;

}  // namespace pimwarden
