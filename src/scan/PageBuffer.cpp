#include "scan/PageBuffer.h"

namespace quillan {

void PageBuffer::Release(QByteArray &bytes)
{
    if (bytes.capacity() > kMostKept)
        bytes = QByteArray();
    else
        bytes.resize(0); // keeps the room it has (clear() would free it)
}

} // namespace quillan
