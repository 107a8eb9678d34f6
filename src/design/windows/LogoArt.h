#pragma once

#include "runtime/StdPicture.h"

// The three logo links' pictures, drawn by the program: the maker's mark and the two social
// network badges.
namespace LogoArt {

runtime::StdPicture Picture(int index);

}
