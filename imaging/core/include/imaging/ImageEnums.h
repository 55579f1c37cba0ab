// Enumerations of the imaging interface; names and values are part of the type library.
#pragma once

namespace imaging {

enum vrnImageFileFormat { iffRAW = 0, iffBMP = 1, iffTIFF = 2, iffPNG = 3, iffJPG = 4 };
enum vrnImageColorModel { icGray = 0, icRGB = 1, icCMY = 2, icCMYK = 3 };
enum vrnImageCompression {
    icNone = 0,
    icRLE = 1,
    icPackBits = 2,
    icCCITTGroup3 = 3,
    icCCITTGroup4 = 4,
    icZipFlate = 5
};
enum vrnImageInterpolation { iiNearest = 0, iiBilinear = 1 };
enum vrnImageDitherMode { idmNearest = 0, idmOrdered = 1, idmFloydSteinberg = 2 };
enum vrnImageTransparencyMode { itmNone = 0, itmChannel = 1, itmColor = 2 };
enum vrnImageDotShape { idsLine = 0, idsRound = 1, idsSquare = 2, idsEllipse = 3 };
enum vrnImageSpecialColor { iscBackground = 0, iscForeground = 1, iscTransparent = 2, iscMask = 3 };

} // namespace imaging
