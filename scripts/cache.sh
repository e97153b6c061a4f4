# Sourced by the scripts that build or make things for the foreign platforms (foreign-libs.sh,
# windows-test.sh): where their cache lives, how they install a missing Debian package, and the lock
# that makes a second build of the same thing wait for the first.
# The cache is /var/cache/vevu-libs for root and $XDG_CACHE_HOME/vevu-libs (~/.cache/vevu-libs) for
# anyone else; VEVU_LIBS_CACHE moves it.
if [ "$(id -u)" -eq 0 ]; then
    cache_root="${VEVU_LIBS_CACHE:-/var/cache/vevu-libs}"
    sudo=""
else
    cache_root="${VEVU_LIBS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vevu-libs}"
    sudo="sudo"
fi

# install_missing PACKAGE...: installs those not installed yet, without recommends, waiting for apt's
# lock when another apt runs.
install_missing() {
    local p missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing ${missing[*]}" >&2
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        --no-install-recommends "${missing[@]}" >&2
}

# lock_cache NAME: holds the lock NAME under the cache until the script ends (file descriptor 9).
lock_cache() {
    mkdir -p "$cache_root"
    exec 9>"$cache_root/.$1.lock"
    if ! flock -n 9; then
        echo "waiting for another build of $1 to finish" >&2
        flock 9
    fi
}
