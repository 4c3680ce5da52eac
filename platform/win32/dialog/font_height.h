#pragma once
// The device height of a font of a given point size: negative, so that it
// names the character height rather than the cell height.
int fontHeightForPoints(double points, int logPixelsY);
