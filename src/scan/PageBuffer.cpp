#include "scan/PageBuffer.h"

namespace quillan {

namespace {

thread_local QByteArray threadBuffer;
thread_local bool threadBufferTaken = false;

} // namespace

PageBuffer::PageBuffer() : bytes_(threadBufferTaken ? &own_ : &threadBuffer)
{
    // A page read while another is in hand on the same thread (one read for
    // its anchors) gets a buffer of its own.
    if (bytes_ == &threadBuffer)
        threadBufferTaken = true;
    bytes_->resize(0); // keeps the room it has (clear() would free it)
}

PageBuffer::~PageBuffer()
{
    if (bytes_ != &threadBuffer)
        return;
    if (threadBuffer.capacity() > kMostKept)
        threadBuffer = QByteArray();
    else
        threadBuffer.resize(0);
    threadBufferTaken = false;
}

} // namespace quillan
