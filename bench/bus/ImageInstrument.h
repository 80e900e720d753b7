#pragma once

#include "bus/ScriptedLine.h"
#include "sync/image/MemoryImage.h"

#include <algorithm>

// One instrument serving a memory image, as the bus library sees it: it answers the search
// until attached, parameters 13 (firmware) and 71 (info block address), and memory reads of the
// announced block length at any address.
class ImageInstrument
{
public:
    ImageInstrument(uint32_t fabNumber, MemoryImage image)
        : m_fab(fabNumber), m_image(std::move(image))
    {
        m_line.waiting = {fabNumber};
    }

    Bytes operator()(const Bytes &request)
    {
        if (request[0] != 0xAA)
            return m_line(request);
        const uint8_t service = request[5];
        const uint8_t sub = request[6];
        if (service == 3 + 0x40 && sub == 0)
            m_selected = readLittleEndian16(&request[8]);
        if (service == 34 + 0x40 && sub == 1)
            m_blockLength = request[8];
        if (service == 3)
            return serviceAnswer(m_fab, 0, parameter(sub));
        if (service == 34 && sub == 0)
            return serviceAnswer(m_fab, 0, block(readLittleEndian32(&request[8])));
        return serviceAnswer(m_fab, 0, {});
    }

private:
    Bytes parameter(uint8_t sub) const
    {
        const uint32_t value = m_selected == 13 ? m_image.firmwareNumber
                                                : m_image.infoBlockAddress;
        switch (sub) {
        case 1: return fabBytes(value); // 4 bytes little-endian
        case 2: return {4, 0};          // unsigned 32-bit
        default: return {0, 0, 0, 0};
        }
    }

    Bytes block(uint32_t address) const
    {
        Bytes data(m_blockLength, 0);
        for (size_t i = 0; i < data.size() && address + i < m_image.memory.size(); ++i)
            data[i] = m_image.memory[address + i];
        return data;
    }

    uint32_t m_fab;
    MemoryImage m_image;
    ScriptedInstruments m_line;
    uint16_t m_selected = 0;
    uint8_t m_blockLength = 0;
};
