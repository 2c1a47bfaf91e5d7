#pragma once

#include <QMessageBox>

#include "ui/platform.h"

// The icon each of the window's box flags stands for.
struct FlagsIcon {
    unsigned flags;
    QMessageBox::Icon icon;
};

inline constexpr FlagsIcon kIconsByFlags[] = {
    {ui::MB_OK, QMessageBox::NoIcon},
    {ui::MB_ICONSTOP, QMessageBox::Critical},
    {ui::MB_ICONQUESTION, QMessageBox::Question},
    {ui::MB_ICONEXCLAMATION, QMessageBox::Warning},
};
