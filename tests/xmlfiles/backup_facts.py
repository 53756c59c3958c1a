"""Reads a backup file with Python's own XML reader and writes what the tests
check of it, one "key=value" line each, into a facts file; the facts file is
written last, so its presence tells that the reading is over.

    backup_facts.py BACKUP FACTS
"""
import sys
import xml.etree.ElementTree as ElementTree


def shown(text):
    """A value on one line, in ASCII: line breaks and other bytes escaped."""
    return (text or "").encode("unicode_escape").decode("ascii")


def main():
    backup, facts_path = sys.argv[1], sys.argv[2]
    facts = []
    try:
        root = ElementTree.parse(backup).getroot()
        facts.append("parsed=1")
        facts.append("root=" + root.tag)
        for number, note in enumerate(root.findall("note"), 1):
            key = "note%d." % number
            facts.append(key + "children=" + ",".join(child.tag for child in note))
            facts.append(key + "title=" + shown(note.findtext("title/text")))
            for tag in ("last_sent_to", "group", "user_name", "gradient_backcolor", "transparency"):
                facts.append(key + tag + "=" + shown(note.findtext(tag)))
            facts.append(key + "textarea=" + ",".join(child.tag for child in note.find("textarea")))
            facts.append(key + "font=" + ",".join(child.tag for child in note.find("textarea/font")))
            facts.append(key + "font_size=" + shown(note.findtext("textarea/font/size")))
            facts.append(key + "text=" + shown(note.findtext("textarea/text")))
            facts.append(key + "rtf_text=" + shown(note.findtext("textarea/rtf_text")))
            facts.append(key + "alarm=" + ",".join(
                "%s:%s" % (child.tag, shown(child.text).strip()) for child in note.iter()
                if child.tag in ("is_set", "date_time", "value", "unit") and child in list(note.find("alarm").iter())))
            facts.append(key + "sent_to=" + ",".join(
                note_sent.findtext("computer_id") for note_sent in note.findall("sent_to")))
            facts.append(key + "associations=" + ",".join(
                shown(association.findtext("application")) for association in note.findall("association")))
        facts.append("computers=" + ",".join(
            shown(computer.findtext("computer_name")) for computer in root.findall("computers/computer")))
    except Exception as failure:  # the test shows what went wrong
        facts.append("parsed=0")
        facts.append("error=" + shown(str(failure)))
    with open(facts_path + ".part", "w", encoding="ascii") as out:
        out.write("\n".join(facts) + "\n")
    import os
    os.replace(facts_path + ".part", facts_path)


if __name__ == "__main__":
    main()
