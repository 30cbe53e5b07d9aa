#include "specs.hpp"

namespace pimwarden {

const Specs specs;

Specs::Specs()
    : menuPimFadeSpeed(0.0002f),
      menuTitleFadeSpeed(0.002f),
      pimSpeed(0.2f),
      fallSpeed(0.4f),
      stoneOffsetY(40.0f),
      reloadDelayStart(1700.0f),
      reloadSpeed(1.0f),
      reloadDelayBonus(25.0f),
      reloadDelayMin(1000.0f),
      foeClimbSpeed(0.08f),
      foeStrafeSpeed(0.07f),
      spawnIntervalStart(3000.0f),
      spawnIntervalStep(20.0f),
      spawnIntervalMin(600.0f),
      wallTop(473.0f),
      foePauseStart(100),
      foePauseStep(2),
      foePauseMin(10),
      foePauseRandom(100),
      foeClimbTime(400),
      foeStrafeTime(200),
      foeDecisionRange(10),
      foeClimbChanceMin(3),
      foeClimbChanceMax(6),
      cryHeightMedium(150.0f),
      cryHeightHigh(300.0f),
      cryHeightVeryHigh(420.0f),
      knockDistanceMin(25),
      knockDistanceMax(40),
      bonusHitsStart(15),
      bonusHitsStep(5),
      walkMin(0.0f),
      walkMax(800.0f) {}

}  // namespace pimwarden
