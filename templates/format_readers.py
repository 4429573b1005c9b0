"""Readers written from the formats' descriptions for what has no reader
here to run: CSS rule sets, Godot's text resources and Defold's tile
sources (protocol buffer text), for the gallery's tests."""
import json
import re


def css_unescape(text):
    """A CSS identifier or string body with its escapes read."""
    def one(m):
        if m.group(1):
            return chr(int(m.group(1), 16))
        return m.group(2)
    return re.sub(r'\\(?:([0-9a-fA-F]{1,6}) ?|(.))', one, text)


# A length: plain, `calc(Apx / B)` or `calc((Apx - Bpx) / C)`.
CSS_LENGTH = (r'calc\((-?\d+)px / (\d+)\)|calc\(\((-?\d+)px - (-?\d+)px\) / (\d+)\)'
              r'|(-?\d+)px|(0)')
# The properties whose values are lengths.
CSS_LENGTH_PROPERTIES = {'background-size', 'background-position', 'width', 'height', 'padding'}


def css_lengths(value):
    """Lengths in px, each plain or a calc() of the forms above, evaluated."""
    numbers = []
    for m in re.finditer(CSS_LENGTH, value):
        if m.group(1):
            numbers.append(int(m.group(1)) / int(m.group(2)))
        elif m.group(3):
            numbers.append((int(m.group(3)) - int(m.group(4))) / int(m.group(5)))
        else:
            numbers.append(float(m.group(6) or m.group(7)))
    assert re.sub(CSS_LENGTH + r'|\s', '', value) == '', value
    return numbers


def read_css(text):
    """Rule sets: comments dropped, each `selector { declarations }` split at
    ";" into property and value; selectors and url() strings unescaped;
    lengths evaluated."""
    text = re.sub(r'/\*.*?\*/', '', text, flags=re.S)
    rules = []
    for selector, body in re.findall(r'((?:[^{}\\]|\\.)+)\{([^{}]*)\}', text):
        declarations = {}
        for declaration in re.split(r';(?=(?:[^"]*"[^"]*")*[^"]*$)', body):
            if declaration.strip():
                prop, colon, value = declaration.partition(':')
                assert colon, declaration
                value = value.strip()
                url = re.fullmatch(r'url\("((?:[^"\\]|\\.)*)"\)', value)
                if url:
                    value = 'url(%s)' % css_unescape(url.group(1))
                elif prop.strip() in CSS_LENGTH_PROPERTIES:
                    value = css_lengths(value)
                declarations[prop.strip().lower()] = value
        rules.append((css_unescape(selector.strip()), declarations))
    return rules


def read_godot_value(text):
    """The few value forms the template writes: JSON-like strings, numbers,
    booleans, arrays and dictionaries, and constructor calls kept as text."""
    text = text.strip()
    text = re.sub(r'(?<=[\[{,:\s])(&?)("(?:[^"\\]|\\.)*")', lambda m: m.group(2), text)
    calls = []
    def keep(m):
        calls.append(m.group(0))
        return '"\\u0000%d"' % (len(calls) - 1)
    text = re.sub(r'\b(?:SubResource|ExtResource|Rect2)\([^)]*\)', keep, text)
    value = json.loads(text)
    def restore(v):
        if isinstance(v, str) and v.startswith('\0'):
            return calls[int(v[1:])]
        if isinstance(v, list):
            return [restore(x) for x in v]
        if isinstance(v, dict):
            return {k: restore(x) for k, x in v.items()}
        return v
    return restore(value)


def read_godot_resource(text):
    """A Godot text resource: [section attributes] headers, then `key = value`
    properties whose values may span lines."""
    sections = []
    lines = text.split('\n')
    i = 0
    while i < len(lines):
        line = lines[i]
        i += 1
        if not line.strip():
            continue
        header = re.fullmatch(r'\[(\w+)((?: \w+=(?:"(?:[^"\\]|\\.)*"|\d+))*)\]', line)
        if header:
            attributes = {}
            for key, value in re.findall(r' (\w+)=("(?:[^"\\]|\\.)*"|\d+)', header.group(2)):
                attributes[key] = json.loads(value)
            sections.append((header.group(1), attributes, {}))
            continue
        key, equals, value = line.partition(' = ')
        assert equals and sections, line
        while True:
            try:
                parsed = read_godot_value(value)
                break
            except json.JSONDecodeError:
                assert i < len(lines), value
                value += '\n' + lines[i]
                i += 1
        sections[-1][2][key] = parsed
    return sections


def read_protobuf_text(text):
    """Protocol buffer text format as Defold writes it: `key: value` fields and
    `key { ... }` messages; every field a list of its values."""
    tokens = re.findall(r'"(?:[^"\\]|\\.)*"|[{}:]|[^\s{}:"]+', text)
    position = 0
    def message(end):
        nonlocal position
        fields = {}
        while position < len(tokens) and tokens[position] != end:
            name = tokens[position]
            position += 1
            if tokens[position] == '{':
                position += 1
                value = message('}')
                position += 1
            else:
                assert tokens[position] == ':', name
                token = tokens[position + 1]
                position += 2
                value = json.loads(token) if token.startswith('"') else (
                    int(token) if re.fullmatch(r'-?\d+', token) else token)
            fields.setdefault(name, []).append(value)
        return fields
    return message(None)
