#pragma once

#include "infowindow.h"

// How to play.
class frmInstruct : public InfoWindow
{
    Q_OBJECT

public:
    static const QString RulesText;

    explicit frmInstruct(Forms &forms);
};
