"""Ways a downloaded game folder gets damaged: bytes of its files changed, cut or padded, files
that turn into folders and back, files that cannot be read, links that lead nowhere, names that
differ only in letter case, and files far larger than any game file. Every choice comes from the
random generator it is given, so a seed gives the same damage again."""
import os
import re
import stat

HUGE_NUMBERS = [b"99999999999999999999", b"-2147483649", b"2147483648", b"32768", b"-32769",
                b"65536", b"1E308", b"-1D400", b"1000000", b"4294967296", b"NaN", b"-0", b"1e-400"]
SEPARATORS = [b",", b"\r\n", b"\n", b"\r", b",,", b"\"", b"\"\"", b"#", b"#TRUE#", b"#NULL#",
              b"----- SEPARATOR -----", b"|", b"\\", b"/", b".", b"_on_"]
HUNDRED_MEGABYTES = 100 * 1024 * 1024


def _read(path):
    with open(path, "rb") as f:
        return f.read()


def _write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def _remove(path):
    if os.path.islink(path) or not os.path.isdir(path):
        os.remove(path)
    else:
        for root, dirs, files in os.walk(path, topdown=False):
            for name in files:
                os.remove(os.path.join(root, name))
            for name in dirs:
                full = os.path.join(root, name)
                os.remove(full) if os.path.islink(full) else os.rmdir(full)
        os.rmdir(path)


def _garbage(rng, size):
    return bytes(rng.randrange(256) for _ in range(size))


def truncate(rng, path):
    data = _read(path)
    cut = rng.randrange(len(data) + 1)
    _write(path, data[:cut])
    return "truncated to %d of %d bytes" % (cut, len(data))


def change_bytes(rng, path):
    data = bytearray(_read(path))
    if not data:
        return empty(rng, path)
    count = rng.randint(1, 8)
    for _ in range(count):
        data[rng.randrange(len(data))] = rng.randrange(256)
    _write(path, bytes(data))
    return "%d bytes changed" % count


def _insert(rng, path, pieces, what):
    data = _read(path)
    count = rng.randint(1, 4)
    for _ in range(count):
        at = rng.randrange(len(data) + 1)
        data = data[:at] + rng.choice(pieces) + data[at:]
    _write(path, data)
    return "%d %s inserted" % (count, what)


def insert_separators(rng, path):
    return _insert(rng, path, SEPARATORS, "separators or quotes")


def insert_nul(rng, path):
    return _insert(rng, path, [b"\0", b"\0" * rng.randint(2, 64)], "NUL runs")


def huge_number(rng, path):
    """Replaces numbers of the file (counts, indexes, sizes) by numbers out of every range."""
    data = _read(path)
    numbers = list(re.finditer(rb"(?<![\w.])-?\d+(\.\d+)?(?![\w.])", data))
    if not numbers:
        return _insert(rng, path, HUGE_NUMBERS, "huge numbers")
    count = rng.randint(1, min(4, len(numbers)))
    for match in sorted(rng.sample(numbers, count), key=lambda m: m.start(), reverse=True):
        data = data[:match.start()] + rng.choice(HUGE_NUMBERS) + data[match.end():]
    _write(path, data)
    return "%d numbers replaced by huge ones" % count


def garbage(rng, path):
    size = rng.choice([1, 7, 100, 1000, 4096])
    _write(path, _garbage(rng, size))
    return "replaced by %d bytes of garbage" % size


def empty(rng, path):
    _write(path, b"")
    return "emptied"


def file_to_folder(rng, path):
    _remove(path)
    os.mkdir(path)
    if rng.random() < 0.5:
        _write(os.path.join(path, "inside"), b"\"x\"\r\n")
    return "replaced by a folder"


def folder_to_file(rng, path):
    _remove(path)
    _write(path, rng.choice([b"", _garbage(rng, 64), b"\"Hall\",1,2\r\n"]))
    return "folder replaced by a file"


def unreadable(rng, path):
    """A file that opens but cannot be read. The superuser reads any file whatever its mode, so then
    it becomes a link to the process's own memory, whose first page reads as an input/output error."""
    if os.geteuid() != 0:
        os.chmod(path, 0)
        return "made unreadable (mode 000)"
    _remove(path)
    os.symlink("/proc/self/mem", path)
    return "replaced by a link to /proc/self/mem (opens, but reading fails)"


def self_link(rng, path):
    _remove(path)
    os.symlink(os.path.basename(path), path)
    return "replaced by a symbolic link to itself"


def broken_link(rng, path):
    _remove(path)
    os.symlink(os.path.basename(path) + ".gone", path)
    return "replaced by a link to a missing file"


def case_twin(rng, path):
    """Adds an entry whose name differs only in letter case, holding damaged data; half of the time
    the original takes yet another spelling, so neither matches the name the game asks for."""
    folder, name = os.path.split(path)
    taken = {n for n in os.listdir(folder)}
    variants = set()
    for _ in range(20):
        variant = "".join(c.upper() if rng.random() < 0.5 else c.lower() for c in name)
        if variant not in taken:
            variants.add(variant)
    variants = sorted(variants)
    if not variants:
        return garbage(rng, path)
    twin = os.path.join(folder, variants[0])
    if rng.random() < 0.3:
        os.mkdir(twin)
    else:
        original = _read(path) if os.path.isfile(path) else b""
        _write(twin, original[:rng.randrange(len(original) + 1)] + _garbage(rng, rng.randrange(40)))
    if len(variants) > 1 and rng.random() < 0.5:
        os.rename(path, os.path.join(folder, variants[1]))
        return "case twin %s added; the original renamed %s" % (variants[0], variants[1])
    return "case twin %s added" % variants[0]


def huge_file(rng, path):
    """The file's own bytes, then a hole up to 100 MB: sparse, so it costs nothing to write."""
    with open(path, "r+b") as f:
        f.truncate(HUNDRED_MEGABYTES)
    return "grown to 100 MB (sparse)"


# Damage to a file, with weights: the byte-level kinds come most often, as in real downloads.
FILE_DAMAGE = [(truncate, 6), (change_bytes, 6), (insert_separators, 6), (huge_number, 6),
               (insert_nul, 3), (garbage, 3), (empty, 3), (file_to_folder, 3), (unreadable, 2),
               (self_link, 1), (broken_link, 1), (case_twin, 2), (huge_file, 1)]
FOLDER_DAMAGE = [(folder_to_file, 1), (case_twin, 1)]


def _weighted(rng, choices):
    total = sum(weight for _, weight in choices)
    pick = rng.uniform(0, total)
    for choice, weight in choices:
        pick -= weight
        if pick <= 0:
            return choice
    return choices[-1][0]


def _entries(root):
    """Regular files and folders of the game, as paths relative to its root, in a stable order."""
    files, folders = [], []
    for folder, dirs, names in os.walk(root):
        dirs.sort()
        for name in sorted(names):
            full = os.path.join(folder, name)
            if stat.S_ISREG(os.lstat(full).st_mode):
                files.append(os.path.relpath(full, root))
        for name in dirs:
            folders.append(os.path.relpath(os.path.join(folder, name), root))
    return files, folders


def damage_game(rng, root):
    """Damages one to four entries of the game folder; returns what was done, one line each."""
    done = []
    for _ in range(rng.randint(1, 4)):
        files, folders = _entries(root)
        if folders and (not files or rng.random() < 0.08):
            target = rng.choice(folders)
            kind = _weighted(rng, FOLDER_DAMAGE)
        elif files:
            target = rng.choice(files)
            kind = _weighted(rng, FILE_DAMAGE)
        else:
            break
        try:
            done.append("%s: %s" % (target, kind(rng, os.path.join(root, target))))
        except OSError as error:  # an entry an earlier damage made unreadable
            done.append("%s: left alone (%s)" % (target, error.strerror))
    return done
