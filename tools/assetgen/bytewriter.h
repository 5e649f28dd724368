#pragma once

#include <QByteArray>

#include <cstdint>

// Appends little-endian integers to a byte array, as the Windows and GIF file formats store them.
class ByteWriter
{
public:
    void u8(uint8_t value) { m_bytes.append(static_cast<char>(value)); }
    void u16(uint16_t value)
    {
        u8(static_cast<uint8_t>(value & 0xff));
        u8(static_cast<uint8_t>(value >> 8));
    }
    void u32(uint32_t value)
    {
        u16(static_cast<uint16_t>(value & 0xffff));
        u16(static_cast<uint16_t>(value >> 16));
    }
    void i32(int32_t value) { u32(static_cast<uint32_t>(value)); }
    void bytes(const QByteArray &data) { m_bytes.append(data); }
    void zeros(qsizetype count) { m_bytes.append(count, '\0'); }

    qsizetype size() const { return m_bytes.size(); }
    const QByteArray &data() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
