// Precompiled header shared by every target: the Qt headers nearly every file includes.
#pragma once
#include <QtCore>
#include <QtSql>
#include <memory>
#include <optional>
#include <vector>
#include <functional>
