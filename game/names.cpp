// SPDX-License-Identifier: GPL-3.0-or-later
#include "names.h"

namespace Names {

constinit const std::array<QStringView, DefaultNameCount> DefaultNames = {
    u"Lucky Lou", u"Card Shark", u"Ace Ambrose", u"Queenie", u"Jack of Hearts", u"Mystery Player",
};

} // namespace Names
