#!/usr/bin/python3
"""Reads a .docx or .odt file back with independent readers (python-docx, odfpy) and prints
what a reader finds as JSON: the properties, the page width in points, and per paragraph its
text, its list (if any) and the colour of its bottom border (if any)."""

import json
import sys


def read_docx(path):
    import docx
    from docx.oxml.ns import qn

    document = docx.Document(path)
    levels = {}
    try:
        numbering = document.part.numbering_part.element
    except (KeyError, NotImplementedError):
        numbering = None
    if numbering is not None:
        abstract = {}
        for node in numbering.findall(qn("w:abstractNum")):
            lvl = node.find(qn("w:lvl"))
            start = lvl.find(qn("w:start"))
            abstract[node.get(qn("w:abstractNumId"))] = {
                "start": int(start.get(qn("w:val"))) if start is not None else 1,
                "format": lvl.find(qn("w:numFmt")).get(qn("w:val")),
                "text": lvl.find(qn("w:lvlText")).get(qn("w:val")),
            }
        for num in numbering.findall(qn("w:num")):
            abstract_id = num.find(qn("w:abstractNumId")).get(qn("w:val"))
            levels[num.get(qn("w:numId"))] = abstract[abstract_id]

    paragraphs = []
    for paragraph in document.paragraphs:
        entry = {"text": paragraph.text, "list": None, "border": None}
        ppr = paragraph._p.pPr
        if ppr is not None:
            numpr = ppr.find(qn("w:numPr"))
            if numpr is not None:
                num_id = numpr.find(qn("w:numId")).get(qn("w:val"))
                entry["list"] = dict(levels[num_id], id=num_id)
            border = ppr.find(qn("w:pBdr"))
            if border is not None and border.find(qn("w:bottom")) is not None:
                entry["border"] = border.find(qn("w:bottom")).get(qn("w:color")).lower()
        paragraphs.append(entry)
    core = document.core_properties
    return {
        "page_width": document.sections[0].page_width.pt,
        "title": core.title,
        "author": core.author,
        "subject": core.subject,
        "paragraphs": paragraphs,
    }


def read_odt(path):
    from odf import opendocument, teletype
    from odf.namespaces import FONS, METANS, STYLENS, TEXTNS, DCNS

    document = opendocument.load(path)

    def attribute(node, namespace, name):
        return node.attributes.get((namespace, name))

    borders = {}
    for style in document.automaticstyles.childNodes:
        if style.qname != (STYLENS, "style"):
            continue
        for props in style.childNodes:
            if props.qname == (STYLENS, "paragraph-properties"):
                border = attribute(props, FONS, "border-bottom")
                if border and border != "none":
                    borders[attribute(style, STYLENS, "name")] = border.split("#")[-1].lower()
    lists = {}
    for style in document.automaticstyles.childNodes:
        if style.qname != (TEXTNS, "list-style"):
            continue
        level = style.childNodes[0]
        if level.qname == (TEXTNS, "list-level-style-bullet"):
            info = {"start": 1, "format": "bullet", "text": attribute(level, TEXTNS, "bullet-char")}
        else:
            info = {
                "start": int(attribute(level, TEXTNS, "start-value") or 1),
                "format": attribute(level, STYLENS, "num-format"),
                "text": (attribute(level, STYLENS, "num-prefix") or "")
                + "%1"
                + (attribute(level, STYLENS, "num-suffix") or ""),
            }
        lists[attribute(style, STYLENS, "name")] = info

    paragraphs = []

    def walk(node, in_list):
        for child in node.childNodes:
            if child.qname in ((TEXTNS, "p"), (TEXTNS, "h")):
                style = attribute(child, TEXTNS, "style-name")
                paragraphs.append({
                    "text": teletype.extractText(child),
                    "list": in_list,
                    "border": borders.get(style),
                })
            elif child.qname == (TEXTNS, "list"):
                name = attribute(child, TEXTNS, "style-name")
                walk(child, dict(lists.get(name, {}), id=name))
            elif child.qname == (TEXTNS, "list-item"):
                walk(child, in_list)

    walk(document.text, None)

    def meta(namespace, name):
        for node in document.meta.childNodes:
            if node.qname == (namespace, name):
                return teletype.extractText(node)
        return None

    width = None
    for layout in document.automaticstyles.childNodes + document.styles.childNodes:
        for props in layout.childNodes:
            if props.qname == (STYLENS, "page-layout-properties"):
                width = float(attribute(props, FONS, "page-width").replace("pt", ""))

    return {
        "page_width": width,
        "title": meta(DCNS, "title"),
        "author": meta(METANS, "initial-creator"),
        "subject": meta(DCNS, "subject"),
        "paragraphs": paragraphs,
    }


def main():
    path = sys.argv[1]
    result = read_docx(path) if path.lower().endswith(".docx") else read_odt(path)
    json.dump(result, sys.stdout, ensure_ascii=True)


if __name__ == "__main__":
    main()
