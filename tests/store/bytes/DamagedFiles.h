#pragma once

#include <random>
#include <vector>

// A notes table of 25 records, some deleted, some with values in every form.
std::vector<unsigned char> GoodTableBytes();

// Cuts, extends or changes the bytes of a table or a memo file the way a
// damaged disk or a half-written copy would; table damage also reaches into
// the deciphered header and descriptors.
void Damage(std::vector<unsigned char>& bytes, std::mt19937& random);
void DamageMemoFile(std::vector<unsigned char>& bytes, std::mt19937& random);
