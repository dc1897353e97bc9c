// What a loaded catalogue costs in resident memory: a process loads an empty applications folder
// as Vexilo does (on the loading thread, handed over to the main thread), then a folder of 1,000
// bundles, and keeps the result. The difference is the catalogue's. Goal: at most 3 MB.
//
// bench_memory <folder of 1,000 bundles> <empty folder>: the bundles are made beforehand by
// bench_goals (or by `bench_memory --generate <folder>`), so that nothing this process allocated
// to write them is there to be reused.
#include "BenchSupport.h"
#include "catalogue/Catalogue.h"
#include "platform/Platform.h"
#include "platform/bundle/Workspace.h"
#include "platform/preferences/PreferencesStore.h"
#include "platform/preferences/UserDefaults.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <malloc.h>

namespace {

struct Loaded {
    QList<AppListingPtr> apps;
    qint64 residentKiB;
    qint64 anonymousKiB;
    qint64 fileKiB;
    size_t heapBytes;
};

Loaded load(const QString &folder, const QString &home)
{
    auto platform = std::make_shared<Platform>();
    platform->preferences = std::make_shared<PreferencesStore>(home + QStringLiteral("/prefs"));
    platform->workspace =
        std::make_shared<Workspace>(folder, home + QStringLiteral("/registry.plist"));
    auto defaults =
        std::make_shared<UserDefaults>(platform->preferences, QStringLiteral("org.vexilo.Bench"));
    Catalogue catalogue(platform, defaults);
    QEventLoop loop;
    QObject::connect(&catalogue, &Catalogue::loaded, &loop, &QEventLoop::quit);
    catalogue.startLoading();
    loop.exec();
    return {catalogue.allApps(), Bench::residentKiB(), Bench::statusKiB("RssAnon"),
            Bench::statusKiB("RssFile"), mallinfo2().uordblks};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QStringLiteral("--generate")) {
        Bench::generateCatalogue(args.at(2), 1000);
        return 0;
    }
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: bench_memory <folder of 1,000 bundles> <empty folder>\n"
                             "       bench_memory --generate <folder>\n");
        return 2;
    }
    QTemporaryDir home;
    Bench::isolateHome(home.path());

    // Twice over the empty folder: the first load sets up what every load needs once (the
    // thread, the locale data); the second is the floor.
    load(args.at(2), home.path());
    const Loaded empty = load(args.at(2), home.path());
    const Loaded full = load(args.at(1), home.path());

    std::printf("anonymous +%.2f MiB, mapped files +%.2f MiB\n",
                (full.anonymousKiB - empty.anonymousKiB) / 1024.0,
                (full.fileKiB - empty.fileKiB) / 1024.0);
    const double megabytes = (full.residentKiB - empty.residentKiB) / 1024.0;
    const double heap = (double(full.heapBytes) - double(empty.heapBytes)) / 1048576.0;
    std::printf("resident memory: empty folder %.1f MiB, 1,000 bundles %.1f MiB: +%.2f MiB "
                "(of which in use on the heap +%.2f MiB, %.0f bytes a listing)\n",
                empty.residentKiB / 1024.0, full.residentKiB / 1024.0, megabytes, heap,
                heap * 1048576.0 / std::max<qsizetype>(full.apps.size(), 1));
    Bench::goal("resident memory of 1,000 loaded bundles",
                QStringLiteral("+%1 MB").arg(megabytes, 0, 'f', 2),
                QStringLiteral("the same process over an empty folder"), QStringLiteral("<= 3 MB"),
                megabytes <= 3.0);
    return full.apps.size() == 1000 ? 0 : 1;
}
