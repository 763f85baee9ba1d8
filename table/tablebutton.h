// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

// A button of the table. While a secondary window is up the table is disabled only so
// that it ignores input: its buttons keep their enabled look, as a disabled window's
// controls do on the platform the game was designed for. A button disabled in its own
// right still greys out.
class TableButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void initStyleOption(QStyleOptionButton *option) const override;
};
