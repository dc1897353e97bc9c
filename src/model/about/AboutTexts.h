#pragma once

#include <QString>

// What the about box shows, from Vexilo's own bundle.
struct AboutTexts {
    // The localised VersionString format filled with CFBundleVersion ("Version 1.0"); empty
    // without a format.
    QString version;
    // The localised PromoLine.
    QString promoLine;
    // Credits.html among the bundle's resources; empty when there is none.
    QString creditsPath;
};

AboutTexts aboutTexts(const QString &mainBundlePath);
