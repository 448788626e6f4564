# Sourced by the scripts that build third-party libraries from Debian's
# source packages (scripts/web-deps, scripts/windows-deps): finding the
# source package and version behind a binary package, a private apt
# configuration that can fetch sources, and fetching and unpacking one.
#
# The caller defines log and die, and sets apt_dir (the private apt state)
# and work (where sources unpack) before calling apt_update or fetch_source.
# The sources come through apt with a private configuration and state: its
# deb-src entries are derived from the system's own deb entries, and only
# those whose repositories serve sources are kept. The system's apt
# configuration and state are never changed.

# "source-package version" of the source behind a binary package: the
# installed one, else the candidate.
source_of() {
  local status
  status=$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)
  if [ "$status" = "install ok installed" ]; then
    dpkg-query -W -f='${source:Package} ${source:Version}\n' "$1"
  else
    apt-cache show --no-all-versions "$1" 2>/dev/null | awk -v bin="$1" '
      /^Version:/ { v = $2 }
      /^Source:/ { s = $2; if ($3 ~ /^\(/) { sv = $3; gsub(/[()]/, "", sv) } }
      END {
        if (v == "") exit 1
        print (s == "" ? bin : s), (sv == "" ? v : sv)
      }' || die "no installed or candidate version of $1"
  fi
}

# Directory names without the epoch (dpkg's own file naming does the same).
plain() { echo "${1#*:}"; }

sys_sourcelist="" sys_sourceparts="" sys_parts="" sys_main=""
eval "$(apt-config shell sys_sourcelist Dir::Etc::sourcelist/f \
  sys_sourceparts Dir::Etc::sourceparts/d sys_parts Dir::Etc::parts/d \
  sys_main Dir::Etc::main/f)"

# The system's settings (proxies, date checks, ...) are read as they are;
# only the places of the source lists, lists and caches are our own, and the
# hooks that would act on the system's package state after an update are
# dropped.
apt_setup() {
  rm -rf "$apt_dir/etc"
  mkdir -p "$apt_dir/etc/apt.conf.d" "$apt_dir/etc/sources.list.d" \
    "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial"
  {
    echo "Dir::Etc::Parts \"$apt_dir/etc/apt.conf.d\";"
    echo "Dir::Etc::Main \"/dev/null\";"
    [ -d "$sys_parts" ] && echo "#include \"${sys_parts%/}/\";"
    [ -f "$sys_main" ] && echo "#include \"$sys_main\";"
    echo "#clear APT::Update::Pre-Invoke;"
    echo "#clear APT::Update::Post-Invoke;"
    echo "#clear APT::Update::Post-Invoke-Success;"
    echo "Dir::Etc::SourceList \"$apt_dir/etc/sources.list\";"
    echo "Dir::Etc::SourceParts \"$apt_dir/etc/sources.list.d\";"
    echo "Dir::State \"$apt_dir/state\";"
    echo "Dir::Cache \"$apt_dir/cache\";"
    # As root apt would hand downloads to its own user, which cannot reach a
    # cache under root's home directory.
    [ "$(id -u)" -eq 0 ] && echo "APT::Sandbox::User \"root\";"
  } >"$apt_dir/apt.conf"
  : >"$apt_dir/etc/sources.list"
  # One deb-src entry per repository and suite of every enabled deb entry,
  # each in a file of its own so that it can be dropped on its own.
  python3 - "$sys_sourcelist" "$sys_sourceparts" "$apt_dir/etc/sources.list.d" <<'PY'
import glob, os, sys

sourcelist, sourceparts, out = sys.argv[1:4]
entries = []  # (options dict, uri, suite, components)

def one_line(path):
    for line in open(path, encoding="utf-8", errors="replace"):
        words = line.split("#", 1)[0].split()
        if not words or words[0] != "deb":
            continue
        words = words[1:]
        opts = {}
        if words and words[0].startswith("["):
            text = " ".join(words)
            inner, rest = text[1:].split("]", 1)
            for opt in inner.split():
                k, _, v = opt.partition("=")
                opts[k] = v
            words = rest.split()
        if len(words) < 2:
            continue
        # One-line option names map onto deb822 field names.
        fields = {{"signed-by": "Signed-By", "trusted": "Trusted"}.get(k, k): v.replace(",", " ")
                  for k, v in opts.items() if k in ("signed-by", "trusted")}
        entries.append((fields, words[0], words[1], " ".join(words[2:])))

def deb822(path):
    text = open(path, encoding="utf-8", errors="replace").read()
    for stanza in text.split("\n\n"):
        fields, last = {}, None
        for line in stanza.splitlines():
            if line.startswith("#") or not line.strip():
                continue
            if line[0] in " \t" and last:
                fields[last] += "\n" + line
                continue
            k, _, v = line.partition(":")
            last = k.strip().lower()
            fields[last] = v.strip()
        if "deb" not in fields.get("types", "").split():
            continue
        if fields.get("enabled", "yes").lower() in ("no", "false", "0"):
            continue
        keep = {name: fields[k] for k, name in (("signed-by", "Signed-By"), ("trusted", "Trusted")) if k in fields}
        for uri in fields.get("uris", "").split():
            for suite in fields.get("suites", "").split():
                entries.append((keep, uri, suite, fields.get("components", "")))

if os.path.isfile(sourcelist):
    one_line(sourcelist)
for path in sorted(glob.glob(os.path.join(sourceparts, "*"))):
    if path.endswith(".list"):
        one_line(path)
    elif path.endswith(".sources"):
        deb822(path)

seen = set()
for n, (opts, uri, suite, comps) in enumerate(entries):
    if (uri, suite, comps) in seen:
        continue
    seen.add((uri, suite, comps))
    lines = ["Types: deb-src", "URIs: " + uri, "Suites: " + suite]
    if comps:
        lines.append("Components: " + comps)
    for k, v in opts.items():
        lines.append(k + ": " + v)
    with open(os.path.join(out, "%02d.sources" % n), "w") as f:
        f.write("\n".join(lines) + "\n")
PY
}

apt_private() { APT_CONFIG="$apt_dir/apt.conf" "$@"; }

# Updates the private lists, then keeps only the entries whose repositories
# gave a source index, and updates again so the lists match what is kept.
apt_update() {
  apt_setup
  ls "$apt_dir/etc/sources.list.d"/*.sources >/dev/null 2>&1 ||
    die "no deb entries in the system's apt sources"
  log "updating the private apt lists (sources only)"
  apt_private apt-get -qq update >&2 || true
  local f index found served=0
  for f in "$apt_dir/etc/sources.list.d"/*.sources; do
    found=0
    for index in $(apt_private apt-get indextargets --format '$(SOURCESENTRY) $(FILENAME)' \
      'Identifier: Sources' | awk -v f="$f" 'index($1, f ":") == 1 { print $2 }'); do
      # The index is stored compressed, under its name plus a suffix.
      compgen -G "$index*" >/dev/null && found=1
    done
    if [ "$found" -eq 1 ]; then
      served=$((served + 1))
    else
      log "dropping $(sed -n 's/^URIs: //p;s/^Suites: //p' "$f" | tr '\n' ' ')(no sources there)"
      rm "$f"
    fi
  done
  [ "$served" -gt 0 ] || die "none of the system's apt repositories serves source packages"
  apt_private apt-get -qq update >&2 || die "apt-get update with the private configuration failed"
}

# Fetches and unpacks the source of $1 at version $2. The installed
# version's source may have left the archive once a newer revision came out
# (security updates), and a listed one may not be on the mirror: then the
# newest revisions of the same upstream release are tried, then any other.
fetch_source() {
  local src="$1" ver="$2" versions upstream try
  versions=$(apt_private apt-cache showsrc "$src" 2>/dev/null | awk '/^Version:/ { print $2 }' | sort -ruV)
  upstream=${ver%-*}
  for try in "$ver" $(grep -F "$upstream-" <<<"$versions" || true) $(grep -vF "$upstream-" <<<"$versions" || true); do
    grep -qxF "$try" <<<"$versions" || continue
    [ "$try" = "$ver" ] || log "$src $ver cannot be fetched: trying $try"
    if (cd "$work" && apt_private apt-get -qq source "$src=$try" >&2); then
      return 0
    fi
  done
  die "no source of $src could be fetched"
}

# The one directory that fetch_source unpacked for source package $1.
source_tree() {
  local t
  t=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name "$1-*")
  [ -d "$t" ] || die "the unpacked source of $1 is not where expected in $work"
  echo "$t"
}
