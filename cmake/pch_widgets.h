// Precompiled header of window targets.
#pragma once
#include "pch.h"
#include <QtGui>
#include <QtWidgets>
