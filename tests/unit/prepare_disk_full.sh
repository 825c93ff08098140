#!/bin/sh
# A cache folder whose package file name leads to /dev/full, where every
# write fails with "no space left on device": the disk-full outcome of the
# extraction tests comes from the real file system, not from a stand-in.
# A second .msi beside it keeps the cache lookup from taking it as cached.
set -eu
folder="$WINEPREFIX/drive_c/ProgramData/Quelto/{D15CF011-0000-4000-8000-000000000011}"
mkdir -p "$folder"
ln -sfn /dev/full "$folder/product.msi"
: > "$folder/other.msi"
