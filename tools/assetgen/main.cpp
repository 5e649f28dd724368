#include "pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <Magick++.h>

#include <cstdio>
#include <exception>

int main(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    Magick::InitializeMagick(*argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: assetgen <repository root>\n");
        return 2;
    }
    const QDir root(arguments.at(1));
    if (!root.mkpath(QStringLiteral("assets")) || !root.mkpath(QStringLiteral("pix"))) {
        std::fprintf(stderr, "assetgen: cannot create the output folders\n");
        return 1;
    }
    const QDir assets(root.filePath(QStringLiteral("assets")));
    try {
        writeAppIcon(assets);
        writeGunSight(assets);
        writeCrossHair(assets);
        writeFireball(assets);
        writeBulletHole(assets);
        writeAboutPhoto(assets);
        writeFallbackTarget(assets);
        writeSampleTargets(QDir(root.filePath(QStringLiteral("pix"))));
    } catch (const std::exception &error) { // ImageMagick's errors too
        std::fprintf(stderr, "assetgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
