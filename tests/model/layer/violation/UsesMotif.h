#pragma once
// A model header that slips: the layer check must refuse it.
#include <Xm/Xm.h>
