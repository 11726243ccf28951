#pragma once
// Sizes of the standard parts built by code, shared by their tests and the benchmark of the builder: plain
// data, so that a program without the test framework can take them.
#include <map>
#include <vector>

namespace stdtest {

// How many sizes each code of the builder by code reads, the leading slot included, counted from the code's
// layout.
inline const std::map<int, int>& CodeNeeds()
{
  static const std::map<int, int> need = {
      {2, 8},   {3, 7},  {4, 8},   {5, 9},  {6, 8},  {7, 6},  {8, 4},  {10, 6}, {11, 7}, {12, 6},
      {13, 8},  {14, 8}, {15, 9},  {16, 8}, {17, 9}, {18, 8}, {19, 8}, {20, 8}, {21, 6}, {22, 6},
      {23, 6},  {24, 4}, {25, 5},  {26, 9}, {27, 6}, {28, 3}, {29, 8}, {30, 9}, {31, 4}, {32, 12},
      {33, 13}, {34, 8}, {35, 13}, {36, 0}, {37, 3}, {38, 4}, {43, 6}, {50, 6}, {51, 6}, {52, 10}};
  return need;
}

// One set of sizes a part of the code could have, for the codes without a table and a few with one (slot 0
// read by 37 and 38 only).
inline const std::map<int, std::vector<double>>& CodeSamples()
{
  static const std::map<int, std::vector<double>> sample = {
      {6, {0, 20, 20, 26, 6, 3, 36, 60}},
      {7, {0, 16, 22, 3, 5, 50}},
      {8, {0, 12, 2, 40}},
      {10, {0, 12, 18, 24, 10, 30}},
      {11, {0, 12, 18, 24, 5, 12, 30}},
      {12, {0, 6, 10, 4, 0.5, 100}},
      {13, {0, 30, 10, 20, 12, 16, 20, 40}},
      {14, {0, 0, 40, 10, 0, 6, 60, 2}},
      {15, {0, 0, 40, 10, 0, 6, 60, 2, 20}},
      {16, {0, 0, 40, 10, 0, 6, 60, 2}},
      {17, {0, 0, 40, 10, 0, 6, 60, 2, 20}},
      {18, {0, 36, 5, 100, 15, 45, 10, 60}},
      {19, {0, 36, 5, 100, 15, 45, 10, 60}},
      {20, {0, 16, 12, 1.5, 20, 10, 8, 120}},
      {21, {0, 100, 15, 36, 10, 45}},
      {22, {0, 10, 20, 10, 6, 5}},
      {23, {0, 24, 12, 30, 6, 1}},
      {24, {0, 12, 8, 20}},
      {25, {0, 10, 5, 12, 16}},
      {27, {0, 30, 14, 10, 6, 8}},
      {28, {0, 0, 10}},
      {29, {0, 20, 20, 26, 6, 3, 30, 90}},
      {30, {0, 20, 20, 26, 6, 10, 3, 30, 90}},
      {32, {0, 40, 12, 30, 0, 8, 0, 0, 19, 0, 0, 18}},
      {34, {0, 10, 30, 0, 0, 16, 6, 20}},
      {35, {0, 10, 20, 0, 0, 16, 6, 0, 0, 0, 0, 6, 2}},
      {36, {}},
      {37, {10, 8, 40}},
      {38, {30, 20, 8, 10}},
      {43, {0, 0, 0, 20, 28, 40}},
      {50, {0, 0, 0, 20, 60, 3}},
      {51, {0, 0, 0, 20, 28, 40}},
      {52, {0, 0, 0, 20, 0, 28, 0, 40, 0, 10}},
  };
  return sample;
}

} // namespace stdtest
