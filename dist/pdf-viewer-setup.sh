#!/bin/sh
# Installs a PDF viewer from the system's package archive (Debian, Ubuntu and their derivatives)
# and makes it the program for PDF documents, so that the user guide on this disc can be opened.
#
# It asks for authorisation through pkexec (the desktop's password dialog), installs the first
# available viewer with apt-get, and shows a progress window meanwhile. The window's title is
# [Product] AcrobatReaderTitle of qrx-setup.ini beside this script: the setup program watches for
# that window and opens the guide once it has gone.
#
#   pdf-viewer-setup.sh [--dry-run]     --dry-run: print what would be done, change nothing
set -u

HERE=$(cd "$(dirname "$0")" && pwd)
INI="$HERE/qrx-setup.ini"
DRY_RUN=0
[ "${1:-}" = "--dry-run" ] && DRY_RUN=1

# The value of [section] key in the settings file (first match, case-insensitive, CR removed).
ini_value() {
    [ -r "$INI" ] || return 0
    awk -v sec="$1" -v key="$2" '
        BEGIN { sec = tolower(sec); key = tolower(key) }
        { sub(/\r$/, "") }
        /^[ \t]*\[/ { s = $0; gsub(/^[ \t]*\[|\][ \t]*$/, "", s); in_sec = (tolower(s) == sec); next }
        in_sec && index($0, "=") > 0 {
            k = substr($0, 1, index($0, "=") - 1); gsub(/^[ \t]+|[ \t]+$/, "", k)
            if (tolower(k) == key) { v = substr($0, index($0, "=") + 1); gsub(/^[ \t]+|[ \t]+$/, "", v); print v; exit }
        }' "$INI"
}

TITLE=$(ini_value Product AcrobatReaderTitle)
[ -n "$TITLE" ] || TITLE="PDF Viewer Setup"

# Viewers in order of preference: package name and the desktop entry it installs.
CANDIDATES="evince:org.gnome.Evince.desktop atril:atril.desktop okular:okularApplication_pdf.desktop qpdfview:qpdfview.desktop mupdf:mupdf.desktop"

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
available() { apt-cache show "$1" >/dev/null 2>&1; }

message() { # kind (info|error) text
    if command -v zenity >/dev/null 2>&1; then
        zenity "--$1" --title="$TITLE" --text="$2" --width=380 2>/dev/null
    elif command -v yad >/dev/null 2>&1; then
        yad --title="$TITLE" --text="$2" --button=OK:0 --width=380 --center 2>/dev/null
    elif command -v kdialog >/dev/null 2>&1; then
        if [ "$1" = error ]; then kdialog --title "$TITLE" --error "$2"; else kdialog --title "$TITLE" --msgbox "$2"; fi
    else
        echo "$TITLE: $2" >&2
    fi
}

# Runs the command while a progress window with the title is shown; its exit status is kept.
with_progress() { # text command...
    text=$1
    shift
    status_file=$(mktemp)
    if command -v zenity >/dev/null 2>&1; then
        { "$@"; echo $? >"$status_file"; } 2>&1 | sed -u 's/^/# /' |
            zenity --progress --pulsate --auto-close --no-cancel --title="$TITLE" --text="$text" --width=420 2>/dev/null
    elif command -v yad >/dev/null 2>&1; then
        { "$@"; echo $? >"$status_file"; } 2>&1 | sed -u 's/^/# /' |
            yad --progress --pulsate --auto-close --no-buttons --title="$TITLE" --text="$text" --width=420 --center 2>/dev/null
    elif command -v x-terminal-emulator >/dev/null 2>&1 || command -v xterm >/dev/null 2>&1; then
        term=$(command -v x-terminal-emulator || command -v xterm)
        # The terminal's window carries the title while the command runs in it.
        "$term" -T "$TITLE" -e sh -c '"$@"; echo $? >"'"$status_file"'"' sh "$@"
    else
        echo "$TITLE: $text"
        "$@"
        echo $? >"$status_file"
    fi
    status=$(cat "$status_file" 2>/dev/null)
    rm -f "$status_file"
    return "${status:-1}"
}

# The installed viewer's desktop entry becomes the user's program for PDF documents.
make_default() { # package desktop-entry
    entry=$2
    if [ ! -e "/usr/share/applications/$entry" ]; then
        entry=$(dpkg -L "$1" 2>/dev/null | grep '/usr/share/applications/.*\.desktop$' | head -n 1)
        entry=${entry##*/}
    fi
    [ -n "$entry" ] && command -v xdg-mime >/dev/null 2>&1 && xdg-mime default "$entry" application/pdf
    return 0
}

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    message error "This installer needs a Debian or Ubuntu system (apt-get). Please install a PDF viewer with your system's software centre."
    exit 2
fi

# A viewer that is already there only needs to be made the default.
for c in $CANDIDATES; do
    pkg=${c%%:*}
    if installed "$pkg"; then
        if [ $DRY_RUN -eq 1 ]; then
            echo "title: $TITLE"
            echo "installed: $pkg"
            echo "default: ${c#*:}"
            exit 0
        fi
        make_default "$pkg" "${c#*:}"
        exit 0
    fi
done

choice=""
for c in $CANDIDATES; do
    if available "${c%%:*}"; then
        choice=$c
        break
    fi
done
# Without package lists (a fresh system) the first choice is tried after refreshing them.
[ -n "$choice" ] || choice=${CANDIDATES%% *}
pkg=${choice%%:*}

if [ "$(id -u)" -eq 0 ]; then
    AS_ROOT=""
elif command -v pkexec >/dev/null 2>&1; then
    AS_ROOT="pkexec"
else
    message error "Installing software needs administrator rights, and pkexec is not available. Please install the package \"$pkg\" with your system's software centre."
    exit 3
fi

INSTALL="apt-get update -q; DEBIAN_FRONTEND=noninteractive apt-get install -y -q $pkg"
if [ $DRY_RUN -eq 1 ]; then
    echo "title: $TITLE"
    echo "package: $pkg"
    echo "command: ${AS_ROOT:+$AS_ROOT }sh -c '$INSTALL'"
    exit 0
fi

if with_progress "Installing the PDF viewer \"$pkg\"..." ${AS_ROOT:+$AS_ROOT} sh -c "$INSTALL" && installed "$pkg"; then
    make_default "$pkg" "${choice#*:}"
    exit 0
fi
message error "The PDF viewer \"$pkg\" could not be installed. Please check your network connection and try again, or install a PDF viewer with your system's software centre."
exit 1
