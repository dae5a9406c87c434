#pragma once

// The first controls of the base form; each is a Qt widget and a TControl.
#include "host/app/TBevel.h"
#include "host/app/TCheckBox.h"
#include "host/app/TGroupBox.h"
#include "host/app/TLabel.h"
#include "host/app/TPageControl.h"
#include "host/app/TPanel.h"
#include "host/app/TSpeedButton.h"
#include "host/app/TTabSheet.h"
