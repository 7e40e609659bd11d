#!/usr/bin/python3
"""Exports the corpus with svq and reads every document back with readers of other
makers, comparing every text with what the corpus writer stored.

  SvqExportCheck.py setup|tmx|xliff|xliff2|po|csv|json|locale SVQ CORPUS_TOOL SOURCE_DIR WORK

setup fetches the schemas (Debian packages, cached in WORK/cache), writes the corpus
and a Latin-1 locale; each other mode checks one format over the whole corpus."""
import collections, csv, glob, gettext, io, json, os, re, shutil, subprocess, sys, tempfile, zipfile

MODE, SVQ, CORPUS_TOOL, SOURCE_DIR, WORK = sys.argv[1:6]
CACHE, CORPUS, OUT = (os.path.join(WORK, d) for d in ("cache", "corpus", "out-" + MODE))
ENV = dict(os.environ, LC_ALL="C.UTF-8", XML_CATALOG_FILES=os.path.join(CACHE, "catalog.xml"))
faults = []
XML_XSD = "http://www.w3.org/2001/xml.xsd"


def run(cmd, data=None, env=ENV, check=True):
    p = subprocess.run(cmd, input=data, capture_output=True, env=env)
    if check and p.returncode != 0:
        raise AssertionError(f"{' '.join(cmd)}: exit {p.returncode}: {p.stderr.decode(errors='replace')}")
    return p


def setup():
    schemas = {"tmx14.dtd", "tmx14.xsd", "xliff-core-1.2-strict.xsd", "xliff-core-2.0.xsd", "xml.xsd"}
    if not all(os.path.exists(os.path.join(CACHE, s)) for s in schemas):
        os.makedirs(CACHE, exist_ok=True)
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run(["apt-get", "download", "omegat", "php-symfony-translation"], cwd=tmp, check=True)
            for deb in glob.glob(os.path.join(tmp, "*.deb")):
                run(["dpkg-deb", "-x", deb, os.path.join(tmp, "x")])
            with zipfile.ZipFile(os.path.join(tmp, "x/usr/share/omegat/OmegaT.jar")) as jar:
                for name in ("tmx14.dtd", "tmx14.xsd"):
                    with open(os.path.join(CACHE, name), "wb") as f:
                        f.write(jar.read("schemas/" + name))
            php = os.path.join(tmp, "x/usr/share/php/Symfony/Component/Translation/Resources/schemas")
            for name in ("xliff-core-1.2-strict.xsd", "xliff-core-2.0.xsd", "xml.xsd"):
                with open(os.path.join(php, name)) as f:
                    text = f.read()
                # Both import xml.xsd by its web address, which the catalog maps to the copy.
                with open(os.path.join(CACHE, name), "w") as f:
                    f.write(text.replace("informativeCopiesOf3rdPartySchemas/w3c/xml.xsd", XML_XSD))
    with open(os.path.join(CACHE, "catalog.xml"), "w") as f:
        f.write('<catalog xmlns="urn:oasis:names:tc:entity:xmlns:xml:catalog">'
                f'<system systemId="{XML_XSD}" uri="xml.xsd"/><uri name="{XML_XSD}" uri="xml.xsd"/></catalog>\n')
    shutil.rmtree(CORPUS, ignore_errors=True)
    os.makedirs(CORPUS)
    run([CORPUS_TOOL, CORPUS])
    shutil.copy(os.path.join(SOURCE_DIR, "examples/sample.svq"), CORPUS)
    locales = os.path.join(WORK, "locale")
    if not os.path.isdir(os.path.join(locales, "en_US.ISO-8859-1")):
        os.makedirs(locales, exist_ok=True)
        if run(["localedef", "-i", "en_US", "-f", "ISO-8859-1", os.path.join(locales, "en_US.ISO-8859-1")],
               check=False).returncode != 0:
            print("no Latin-1 locale: checked under C and C.UTF-8 only")


def plain(t):  # UTF-8 cannot carry a lone surrogate
    return re.sub("[\ud800-\udfff]", "\ufffd", t)


def po(t):  # gettext ends a text at NUL
    return plain(t).replace("\0", "\ufffd")


def xml(t):  # nor XML 1.0 its forbidden characters
    return re.sub("[\ud800-\udfff\x00-\x08\x0b\x0c\x0e-\x1f\ufffe\uffff]", "\ufffd", t)


def expect(ok, what):
    if not ok:
        raise AssertionError(what)


def export(svq, fmt, *options, env=ENV):
    return run([SVQ, "export", "-f", fmt, *options, svq], env=env).stdout


def xmllint(path, *schema):
    return run(["xmllint", "--noout", "--nonet", *schema, path], check=False)


def documents(svq, fmt, ext, want):
    """One document per target as the command names them: {code: path}."""
    name, codes = os.path.basename(svq)[:-4], [c for _, c in targets(want)]
    out = os.path.join(OUT, name)
    shutil.rmtree(out, ignore_errors=True)
    if len(codes) > 1:
        run([SVQ, "export", "-f", fmt, *want["opts"], "-o", out, svq])
        expect(sorted(os.listdir(out)) == sorted([f"{name}.{c}.{ext}" for c in codes] +
                                                 ([f"{name}.pot"] if fmt == "po" else [])),
               f"files in {out}: {os.listdir(out)}")
        return {c: os.path.join(out, f"{name}.{c}.{ext}") for c in codes}, os.path.join(out, f"{name}.pot")
    os.makedirs(out)
    path = os.path.join(out, f"{name}.{ext}")
    run([SVQ, "export", "-f", fmt, *want["opts"], "-o", path, svq])
    return ({codes[0]: path}, None) if codes else ({}, path)


def targets(want):
    """(column, code) of every target language."""
    return [(j, l["code"]) for j, l in enumerate(want["languages"]) if j != want["src"]]


def source_rows(want):
    return [(str(i), w) for i, w in enumerate(want["rows"]) if w["texts"] and w["texts"][want["src"]]]


def check_json(svq, want):
    data = export(svq, "json", *want["opts"])
    # jq 1.6 refuses a lone high surrogate's escape: it judges the rest of the syntax
    run(["jq", "-e", ".rows and .languages"], re.sub(rb"\\u[dD][89abAB][0-9a-fA-F]{2}(?!\\u[dD][c-fC-F])", rb"\\uFFFD", data))
    got = json.loads(data)
    expect([(l["index"], l["code"], l["name"]) for l in got["languages"]] ==
           [(i, l["code"], l["name"]) for i, l in enumerate(want["languages"])], f"languages {got['languages']}")
    expect(not want["languages"] or got["source"] == want["languages"][want["src"]]["code"], f"source {got['source']}")
    expect(len(got["rows"]) == len(want["rows"]), "row count")
    for i, (g, w) in enumerate(zip(got["rows"], want["rows"])):
        g.update({k: g[k] or "" for k in ("form_type", "component_name")})  # null: no such part
        expect(g == dict(w, index=i), f"row {i}: {g!r} != {w!r}")
    info, wi = got["information"], want["information"]
    if wi:
        expect((info["description"], info["owner"], info["time"]) == (wi["description"], wi["owner"], wi["time"]),
               f"information {info}")


def check_csv(svq, want):
    data = export(svq, "csv", *want["opts"])  # every language whatever the source
    rows = list(csv.reader(io.StringIO(data.decode("utf-8"), newline=""), strict=True))
    again = io.StringIO(newline="")  # every field quoted, CRLF, no BOM: as Python writes it so
    csv.writer(again, quoting=csv.QUOTE_ALL, lineterminator="\r\n").writerows(rows)
    expect(again.getvalue().encode() == data, "not the quoting and line ends of RFC 4180")
    codes = [l["code"] for l in want["languages"]]
    expect(rows[0] == ["index", "form_type", "component_name"] + codes, f"header {rows[0]}")
    expect(len(rows) == len(want["rows"]) + 1, "row count")
    for i, (g, w) in enumerate(zip(rows[1:], want["rows"])):
        e = [str(i), plain(w["form_type"]), plain(w["component_name"])] + [plain(t) for t in w["texts"]]
        expect(g == e, f"row {i}: {g!r} != {e!r}")


def check_tmx(svq, want):
    from translate.storage import tmx
    path = os.path.join(OUT, os.path.basename(svq) + ".tmx")
    with open(path, "wb") as f:
        f.write(export(svq, "tmx", *want["opts"]))
    for schema in (["--dtdvalid", os.path.join(CACHE, "tmx14.dtd")], ["--schema", os.path.join(CACHE, "tmx14.xsd")]):
        p = xmllint(path, *schema)
        expect(p.returncode == 0, f"xmllint {schema[0]}: {p.stderr.decode(errors='replace')[:2000]}")
    store = tmx.tmxfile.parsefile(path)
    codes = [l["code"] for l in want["languages"]]
    header = store.document.getroot().find("header")
    expect(not codes or header.get("srclang") == codes[want["src"]], f"srclang {header.get('srclang')}")
    time = (want["information"] or {}).get("time")
    expect(header.get("creationdate") == (re.sub("[-:]", "", time) + "Z" if time else None), "creationdate")
    wanted = [(str(i), w) for i, w in enumerate(want["rows"]) if any(w["texts"])]
    expect(len(store.units) == len(wanted), f"{len(store.units)} units for {len(wanted)} rows")
    for unit, (tuid, w) in zip(store.units, wanted):
        expect(unit.getid() == tuid, f"tuid {unit.getid()} != {tuid}")
        got = {n.get("{http://www.w3.org/XML/1998/namespace}lang"): unit.getNodeText(n) for n in unit.getlanguageNodes()}
        e = {c: xml(t) for c, t in zip(codes, w["texts"]) if t}
        expect(got == e, f"tu {tuid}: {got!r} != {e!r}")
        props = [p.text or "" for p in unit.xmlelement.iter("prop")]
        for part in (w["form_type"], w["component_name"]):
            expect(not part or xml(part) in props, f"tu {tuid}: context {part!r} not in {props!r}")


def check_xliff(svq, want):
    from translate.storage import xliff
    path = os.path.join(OUT, os.path.basename(svq) + ".xlf")
    with open(path, "wb") as f:
        f.write(export(svq, "xliff", *want["opts"]))
    p = xmllint(path, "--schema", os.path.join(CACHE, "xliff-core-1.2-strict.xsd"))
    expect(p.returncode == 0, f"xmllint: {p.stderr.decode(errors='replace')[:2000]}")
    store = xliff.xlifffile.parsefile(path)
    codes = [l["code"] for l in want["languages"]]
    files = store.document.getroot().findall("{urn:oasis:names:tc:xliff:document:1.2}file")
    expect([f.get("target-language") for f in files] == ([c for _, c in targets(want)] or [None] * len(files)) and
           (not codes or all(f.get("source-language") == codes[want["src"]] for f in files)) and (files or not codes),
           f"files {[f.attrib for f in files]}")
    rows, src = source_rows(want), want["src"]
    units = collections.defaultdict(list)
    for unit in store.units:
        units[unit.xmlelement.getparent().getparent().get("target-language")].append(unit)
    for j, code in targets(want) or [(0, None)]:
        expect(len(units[code]) == len(rows), f"{code}: {len(units[code])} units for {len(rows)} rows")
        for unit, (uid, w) in zip(units[code], rows):
            target = w["texts"][j] if code else ""
            got = (unit.getid().split("\x04")[-1], unit.source, unit.target or "", unit.isapproved(), unit.xmlelement.get("resname"))
            e = (uid, xml(w["texts"][src]), xml(target), bool(target), xml(w["component_name"]) or None)
            expect(got == e, f"{code} unit {uid}: {got!r} != {e!r}")
            contexts = [c.text or "" for c in unit.xmlelement.iter("{*}context")]
            for part in (w["form_type"], w["component_name"]):
                expect(not part or xml(part) in contexts, f"unit {uid}: context {part!r} not in {contexts!r}")


def check_xliff2(svq, want):
    from lxml import etree
    ns = "{urn:oasis:names:tc:xliff:document:2.0}"

    def text(e):  # the content with <cp hex> as the character it stands for
        if e is None:
            return ""
        return (e.text or "") + "".join(chr(int(c.get("hex"), 16)) + (c.tail or "") for c in e)

    docs, single = documents(svq, "xliff2", "xlf", want)
    codes = [l["code"] for l in want["languages"]]
    for j, code in targets(want) or [(0, None)]:
        path = docs[code] if code else single
        p = xmllint(path, "--schema", os.path.join(CACHE, "xliff-core-2.0.xsd"))
        expect(p.returncode == 0, f"xmllint {path}: {p.stderr.decode(errors='replace')[:2000]}")
        root = etree.parse(path).getroot()
        expect(not codes or (root.get("srcLang"), root.get("trgLang")) == (codes[want["src"]], code), f"langs {root.attrib}")
        units = list(root.iter(ns + "unit"))
        rows = source_rows(want)
        expect(len(units) == len(rows), f"{len(units)} units for {len(rows)} rows")
        for unit, (uid, w) in zip(units, rows):
            seg = unit.find(ns + "segment")
            target = w["texts"][j] if code else ""
            got = (unit.get("id"), text(seg.find(ns + "source")), text(seg.find(ns + "target")), seg.get("state"))
            e = (uid, w["texts"][want["src"]], target, "translated" if target else "initial")
            notes = [n.text or "" for n in unit.iter(ns + "note")]
            for part in (w["form_type"], w["component_name"]):
                expect(not part or xml(part) in notes, f"unit {uid}: context {part!r} not in {notes!r}")
            expect(got == e, f"{code} unit {uid}: {got!r} != {e!r}")


def check_po(svq, want):
    docs, pot = documents(svq, "po", "po", want)
    rows, src = [w for _, w in source_rows(want)], want["src"]
    if pot:  # the template: msgcat reads it, its msgids are the sources
        run(["msgcat", "-o", "/dev/null", pot])
        filled = run(["msgen", pot]).stdout  # nothing for a template of no entries
        mo = run(["msgfmt", "--check", "-o", "-", "-"], filled).stdout if filled else None
        ids = set(gettext.GNUTranslations(io.BytesIO(mo))._catalog) - {""} if mo else set()
        expect({i.split("\x04")[-1] for i in ids} == {po(w["texts"][src]) for w in rows}, f"{pot} msgids")
    for j, code in targets(want):
        path = docs[code]
        # --check judges the entries given to translators; fuzzy ones are compiled for the texts
        p = run(["msgfmt", "--check", "--statistics", "-o", "/dev/null", path], check=False)
        err = p.stderr.decode(errors="replace")
        expect(p.returncode == 0, f"msgfmt {path}: {err[:2000]}")
        count = {k: int((re.search(rf"(\d+) {k}", err) or [0, 0])[1]) for k in ("translated", "fuzzy", "untranslated")}
        entries = {tuple(map(po, (w["form_type"], w["component_name"], w["texts"][src], w["texts"][j]))) for w in rows}
        fuzzy = [e for e in entries if e[3] and (e[2][:1] == "\n") != (e[3][:1] == "\n")
                 or e[3] and (e[2][-1:] == "\n") != (e[3][-1:] == "\n")]
        e = {"translated": sum(1 for x in entries if x[3]) - len(fuzzy), "fuzzy": len(fuzzy),
             "untranslated": sum(1 for x in entries if not x[3])}
        expect(count == e, f"{path}: msgfmt counts {count}, expected {e}")
        # msgfmt compiles no fuzzy pair of differing line breaks (not even with --use-fuzzy):
        # the catalog gives the other texts, msgexec the fuzzy ones
        catalog = gettext.GNUTranslations(io.BytesIO(run(["msgfmt", "-o", "-", path]).stdout))._catalog
        header = catalog.pop("")
        fuzzy_po = run(["msgattrib", "--only-fuzzy", path]).stdout
        out = run(["msgexec", "-i", "-", "sh", "-c", 'printf "%s\\0" "$MSGEXEC_MSGID"; cat; printf "\\0"'],
                  fuzzy_po).stdout.decode().split("\0") if fuzzy_po else []
        expect(not re.search("^X-Injected", header, re.M), f"{path}: the owner's line break makes a field")
        for field in ("Language: ", "Content-Type: text/plain; charset=UTF-8", "PO-Revision-Date: ",
                      "Last-Translator: ", "X-Generator: "):
            expect(field in header, f"{path}: header without {field!r}")
        got = collections.Counter([(k.split("\x04")[-1], v) for k, v in catalog.items()] +
                                  [p for p in zip(out[0:-1:2], out[1::2]) if p[0]])
        e = collections.Counter((x[2], x[3]) for x in entries if x[3])
        expect(got == e, f"{path}: read back {list(got - e)}, expected {list(e - got)}")


def check_locale(svq, want):
    if re.match(r"v[12]-|v3-o.-c0", os.path.basename(svq)):  # 8-bit strings only where they are stored so
        return
    latin1 = os.path.join(WORK, "locale")
    envs = [dict(ENV, LC_ALL="C"), ENV] + ([dict(ENV, LC_ALL="en_US.ISO-8859-1", LOCPATH=latin1)]
                                          if os.path.isdir(os.path.join(latin1, "en_US.ISO-8859-1")) else [])
    target = ["-l", want["languages"][1]["code"]] if len(want["languages"]) > 1 else []
    for fmt in ("json", "csv", "tmx", "xliff", "xliff2", "po"):
        outputs = {export(svq, fmt, *target, env=env) for env in envs}
        expect(len(outputs) == 1, f"{fmt}: output depends on the locale")


def broken():
    """Each validator rejects a document broken on purpose."""
    sample = os.path.join(CORPUS, "sample.svq")
    cases = {  # (what is replaced, by what, the validator that must refuse it)
        "tmx": [(r'xml:lang="[^"]*"', 'xml:lang="de_DE"', "--schema", "tmx14.xsd"),
                (r' srclang="[^"]*"', "", "--dtdvalid", "tmx14.dtd")],
        "xliff": [(r' source-language="[^"]*"', "", "--schema", "xliff-core-1.2-strict.xsd")],
        "xliff2": [("<source>", '<source><cp hex="1"/>', "--schema", "xliff-core-2.0.xsd")],
    }
    for old, new, option, schema in cases.get(MODE, []):
        text = export(sample, MODE, *(["-l", "de-DE"] if MODE == "xliff2" else [])).decode()
        path = os.path.join(OUT, "broken." + MODE)
        with open(path, "w") as f:
            f.write(re.sub(old, new, text, count=1))
        p = xmllint(path, option, os.path.join(CACHE, schema))
        expect(p.returncode != 0 and b"parser error" not in p.stderr, f"{MODE}: {old} broken, accepted")
    if MODE == "po":
        text = export(sample, "po", "-l", "de-DE")
        entry = text.split(b"\n\n")[1]
        p = run(["msgfmt", "--check", "-o", "/dev/null", "-"], text + b"\n" + entry + b"\n", check=False)
        expect(p.returncode != 0, "po: a repeated entry accepted")
    if MODE == "csv":
        try:
            list(csv.reader(io.StringIO(export(sample, "csv").decode() + '"x', newline=""), strict=True))
            expect(False, "csv: an open quote accepted")
        except csv.Error:
            pass
    if MODE == "json":
        data = export(sample, "json")[:-3]
        expect(run(["jq", "-e", "."], data, check=False).returncode != 0, "json: a cut document accepted")


def main():
    if MODE == "setup":
        return setup()
    shutil.rmtree(OUT, ignore_errors=True)
    os.makedirs(OUT)
    check = globals()["check_" + MODE]
    files = sorted(glob.glob(os.path.join(CORPUS, "*.svq")))
    for svq in files:
        with open(svq[:-4] + ".json", encoding="utf-8") as f:
            want = json.load(f)
        try:
            want.update(src=0, opts=[])
            check(svq, want)
            if len(want["languages"]) > 2 and re.match(r"sample|v3-o1-c1-k1|codes", os.path.basename(svq)) \
                    and MODE != "locale":
                want.update(src=1, opts=["-s", want["languages"][1]["code"]])  # another source
                check(svq, want)
        except (AssertionError, subprocess.CalledProcessError, KeyError, AttributeError) as e:
            faults.append(f"{os.path.basename(svq)}: {e}")
    try:
        broken()
    except AssertionError as e:
        faults.append(str(e))
    print(f"{MODE}: {len(files)} dictionaries, {len(faults)} faults")
    for f in faults:
        print("FAULT", f[:3000])
    return 1 if faults else 0


sys.exit(main())
