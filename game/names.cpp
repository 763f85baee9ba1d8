#include "names.h"

namespace Names {

std::array<QString, DefaultNameCount> DefaultNames;

void SetNames()
{
    DefaultNames[0] = QStringLiteral("Lucky Lou");
    DefaultNames[1] = QStringLiteral("Card Shark");
    DefaultNames[2] = QStringLiteral("Ace Ambrose");
    DefaultNames[3] = QStringLiteral("Queenie");
    DefaultNames[4] = QStringLiteral("Jack of Hearts");
    DefaultNames[5] = QStringLiteral("Mystery Player");
}

} // namespace Names
