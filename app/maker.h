#pragma once
// The maker's details, shown by the About window and the help pages.

#include <QString>

inline const QString MakerWebsite = QStringLiteral("https://www.velmora-systems.example/");
inline const QString MakerWebsiteCaption = QStringLiteral("www.velmora-systems.example");
inline const QString IconSetWebsite = QStringLiteral("https://www.velmora-systems.example/design/icons/");
inline const QString IconSetCaption = QStringLiteral("Velmora Design");
inline const QString IconSetTooltip = QStringLiteral("Open the Velmora Design icon page");

// Street, city and province, postal code and country, an empty line, then the four contact lines,
// each value after a tab, so that the values line up whatever the font.
inline const QString MakerDetails = QStringLiteral("1180 Harbourfront Parkway, Suite 400\n"
                                                   "Halden Bay, Nova Scotia\n"
                                                   "B3K 5X9  Canada\n"
                                                   "\n"
                                                   "Phone:\t+1 902 555 0142\n"
                                                   "Toll Free:\t1 800 555 0199\n"
                                                   "Fax:\t+1 902 555 0143\n"
                                                   "Email:\tservice@velmora-systems.example");
