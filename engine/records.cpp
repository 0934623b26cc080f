// The member functions of the public records.
#include "seamcore.h"

LONG StitchPyramid::ZoomRatio(LONG level) {
  return static_cast<LONG>(1u << (static_cast<unsigned>(level) & 31u));
}

StitchPyramid& StitchPyramid::operator=(const StitchPyramid& other) {
  levels = other.levels;
  width = other.width;
  height = other.height;
  for (int i = 0; i < kStitchMaxLevels; ++i) image[i] = other.image[i];
  return *this;
}

StitchElement* StitchMatrix::GetElement(LONG column, LONG row) {
  if (!elements || column < 0 || column >= columns || row < 0 || row >= rows) return nullptr;
  return &elements[column + row * columns];
}

HGLOBAL StitchMatrix::GetImage(LONG column, LONG row, LONG level) {
  StitchElement* element = GetElement(column, row);
  if (!element || !element->pyramid) return nullptr;
  return element->pyramid->image[level];
}

StitchMatrix& StitchMatrix::operator=(const StitchMatrix& other) {
  elements = other.elements;
  layout = other.layout;
  columns = other.columns;
  rows = other.rows;
  return *this;
}
