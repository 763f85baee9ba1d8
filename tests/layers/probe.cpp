// SPDX-License-Identifier: GPL-3.0-or-later
// Linked with one layer's library whole and what that library declares below it: any
// call the layer makes upward is then an undefined symbol, and the link fails.
int main()
{
    return 0;
}
