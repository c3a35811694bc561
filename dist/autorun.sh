#!/bin/sh
# Started by the desktop when this disc is inserted (after the user agrees): runs the setup
# program from the disc's own folder, so that the documents named in qrx-setup.ini are found.
cd "$(dirname "$0")" || exit 1
exec ./qrx-setup "$@"
