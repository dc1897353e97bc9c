#include "AboutTexts.h"

#include "platform/bundle/Bundle.h"
#include "text/Texts.h"

AboutTexts aboutTexts(const QString &mainBundlePath)
{
    AboutTexts texts;
    const auto bundle = Bundle::bundleWithPath(mainBundlePath);
    if (!bundle)
        return texts;
    const QVariantMap localized = bundle->localizedInfoDictionary();
    texts.promoLine = localized.value(QStringLiteral("PromoLine")).toString();
    const QString format = localized.value(QStringLiteral("VersionString")).toString();
    if (!format.isEmpty())
        texts.version = formatText(
            format, {bundle->infoDictionary().value(QStringLiteral("CFBundleVersion")).toString()});
    texts.creditsPath = bundle->pathForResource(QStringLiteral("Credits"), QStringLiteral("html"));
    return texts;
}
