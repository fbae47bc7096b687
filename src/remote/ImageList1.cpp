#include "remote/ImageList1.h"

#include "platform/vb/VbError.h"

namespace remote {

QPixmap ImageList1(int index) {
    const QPixmap image(QStringLiteral(":/ImageList1/%1.bmp").arg(index));
    if (image.isNull()) vb::Raise(vb::ErrNum::InvalidPicture);
    return image;
}

}  // namespace remote
