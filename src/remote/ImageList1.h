#pragma once
// The remote control's image list, built into the program: images 1 to 10
// are the volume lights, 11 is the skin (320 x 200, black outside the oval).

#include <QPixmap>

namespace remote {

// Raises run-time error 481 when the program holds no image at that index.
QPixmap ImageList1(int index);

}  // namespace remote
