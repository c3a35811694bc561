#pragma once

// Access to the built-in pictures listed in artwork_table.h.

#include <QImage>
#include <QString>

// Registers the built-in pictures with the resource system (the library is static, so its resources
// are registered on first use). Safe to call more than once.
void InitArtworkResources();

// The built-in picture (index -1) or icon `index` of ImgsType; a null image when unknown.
QImage LoadArtwork(const QString& name, int index = -1);

// The resource path of a built-in picture; empty when unknown.
QString ArtworkResourcePath(const QString& name, int index = -1);
