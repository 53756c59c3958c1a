#pragma once

#include <cstddef>

// Where the nine note styles are kept: one style row (CONFIG "TE") of the
// settings table per user style, counted from the table's eighth record, and
// one text file per style ("style1.rtf" .. "style9.rtf" for the user's styles,
// the read-only "style1.qpd" .. "style9.qpd" for the standard ones). Style
// index 0 to 8; table failures are thrown as CGenericException.

// 1 when the style's row exists. When it does not and create is set, one row is
// appended (only one, so the rows of the lower indexes must exist first); the
// answer is still 0.
int FindConfigRecord(int styleIndex, int create);
// The user's style from its row and its text file. A missing row is reported;
// a row holding no style leaves the style as it was (colours aside) and marks
// it undefined.
void LoadV6Style(int styleIndex);
// All nine, from one opening of the table (as LoadV6Style does for each).
void LoadV6Styles();
// The user's style into its row (made when missing) and its text file. An
// undefined style writes only its background colours, marks the row as
// holding no style and removes the text file.
void SaveV6Style(int styleIndex);
// All nine, with one opening of the table for their rows (as SaveV6Style does
// for each); a text file that already holds its style's text is not written.
void SaveV6Styles();
// The standard style's text from its file; 0 when there is no file.
int LoadStyleTextFile(int styleIndex);
// The first picture of the TEXTURES folder (.BMP, then .JPG, then .GIF) whose
// name hashes to the id; its name goes into the buffer.
int FindTextureByNameHash(char* fileName, size_t size, unsigned short textureId);
