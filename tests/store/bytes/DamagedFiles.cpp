#include "DamagedFiles.h"

#include "MemoryTable.h"

namespace {
void DamageOnce(std::vector<unsigned char>& bytes, std::mt19937& random)
{
    switch (random() % 5) {
    case 0:
        bytes.resize(random() % (bytes.size() + 1));
        break;
    case 1:
        for (unsigned n = 1 + random() % 200; n > 0; --n)
            bytes.push_back(static_cast<unsigned char>(random()));
        break;
    case 2:
        for (unsigned n = 1 + random() % 8; n > 0 && !bytes.empty(); --n)
            bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
        break;
    default: {
        // Change the deciphered header or a descriptor, so that the checks
        // behind the first ones are reached too.
        const std::size_t headerArea = 32 + 9 * 32;
        if (bytes.size() < headerArea)
            break;
        std::size_t at = random() % 2 ? 4 + random() % 8 : 32 + 32 * (random() % 9) + 12 + random() % 5;
        ChangeDecipheredHeader(bytes, headerArea, [&](std::vector<unsigned char>& plain) {
            plain[at] = static_cast<unsigned char>(random() % 2 ? random() : plain[at] + 1u);
        });
        if (random() % 2 && bytes.size() > headerArea + 1)
            bytes[headerArea + 1 + random() % (bytes.size() - headerArea - 1)] ^= 0x55;
    }
    }
}
}

std::vector<unsigned char> GoodTableBytes()
{
    MemoryTable t(25);
    for (std::uint32_t n : {1u, 6u, 7u, 25u})
        t.table.DeleteRecord(n);
    t.table.SetLongValue(3, "WLEFT", -2000);
    t.table.SetStringValue(4, "SZTITLE", "a title");
    return t.Bytes();
}

void Damage(std::vector<unsigned char>& bytes, std::mt19937& random)
{
    DamageOnce(bytes, random);
    if (random() % 4 == 0)
        DamageOnce(bytes, random);
}

void DamageMemoFile(std::vector<unsigned char>& bytes, std::mt19937& random)
{
    switch (random() % 4) {
    case 0:
        bytes.resize(random() % (bytes.size() + 1));
        break;
    case 1:
        bytes.insert(bytes.end(), 1 + random() % 300, static_cast<unsigned char>(random()));
        break;
    case 2:
        // the file header or a memo header gets a random number
        for (int k = 0; k < 4; ++k) {
            std::size_t at = (random() % 2 ? 0 : 512 + 64 * (random() % 10) + 4) + random() % 8;
            if (at < bytes.size())
                bytes[at] = static_cast<unsigned char>(random());
        }
        break;
    default:
        for (unsigned n = 1 + random() % 6; n > 0 && !bytes.empty(); --n)
            bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
    }
}
