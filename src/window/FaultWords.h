#pragma once

#include "update/station/StationPolicy.h"

#include <QCoreApplication>
#include <QString>

#include <utility>

// What is wrong with the station's settings file or with its release, in
// the technician's language: the words of a fault that keeps every press
// from starting until it is fixed.
class FaultWords
{
    Q_DECLARE_TR_FUNCTIONS(FaultWords)

public:
    static QString settings(const SettingsFault &fault);
    // The file the release's fault is about, and what is wrong with it
    // (unsound, or for another order than the settings name).
    static std::pair<QString, QString> release(const StationPolicy &station);
};
