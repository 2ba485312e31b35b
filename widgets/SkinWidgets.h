// The skinned widgets the ticker's face is built from.
#pragma once

#include "widgets/BackgroundEx.h"
#include "widgets/CheckBoxEx.h"
#include "widgets/ImageEx.h"
#include "widgets/SkinResource.h"
#include "widgets/SkinText.h"
#include "widgets/ThrobberEx.h"
