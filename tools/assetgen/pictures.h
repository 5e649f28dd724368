#pragma once

#include <QDir>

// Each function paints one picture (or one family of pictures) and writes its files.

// assets/varkoz.ico and assets/varkoz-16.png ... varkoz-256.png: the application icon.
void writeAppIcon(const QDir &assets);

// assets/gunsight.cur and assets/crosshair.cur: the mouse cursors.
void writeGunSight(const QDir &assets);
void writeCrossHair(const QDir &assets);

// assets/fireball.gif and assets/bullethole.bmp: the marks of a hit and of a miss.
void writeFireball(const QDir &assets);
void writeBulletHole(const QDir &assets);

// assets/about.jpg: the photograph in the About window.
void writeAboutPhoto(const QDir &assets);

// assets/fallback-target.png and pix/pic0.jpg ... pic9.jpg: the target pictures.
void writeFallbackTarget(const QDir &assets);
void writeSampleTargets(const QDir &pix);
