#pragma once

#include "core/FeatureTourSlide.h"

#include <QList>

// The six slides of the tour, one per kind in the kinds' order.
namespace FeatureTourSlideCatalog {

// Built on first use in the language then in force and kept for the life of
// the process: a later language change reaches the slides after a relaunch.
const QList<FeatureTourSlide>& slides();
int count();

} // namespace FeatureTourSlideCatalog
