"""Writes the licence a face of the page ships with: of its Debian package's copyright file,
the header, the paragraph that covers the face's file and the licence texts that paragraph
names, without what the file says of the package's other files (its packaging, tests and
metadata, which the page does not ship). A copyright file that is not machine-readable is
copied whole.
  font_licence.py COPYRIGHT_FILE FACE_FILE_NAME OUTPUT"""
import re
import shutil
import sys

from debian.copyright import Copyright, NotMachineReadableError

source, face, output = sys.argv[1:4]
try:
    with open(source, encoding="utf-8") as file:
        copyright = Copyright(file, strict=False)
except NotMachineReadableError:
    shutil.copyfile(source, output)
    sys.exit(0)

covering = copyright.find_files_paragraph(face)
if covering is None:
    sys.exit("%s: no paragraph covers %s" % (source, face))
# "AGPL-3 with Font exception" names the licence "AGPL-3"; "A or B" and "A and B" name both.
names = {re.sub(r"\s+with\s+.*$", "", name).strip()
         for name in re.split(r"\s+(?:or|and)\s+|,", covering.license.synopsis)}
texts = [paragraph for paragraph in copyright.all_license_paragraphs() if paragraph.license.synopsis in names]
with open(output, "w", encoding="utf-8") as file:
    file.write("\n".join(paragraph.dump() for paragraph in [copyright.header, covering, *texts]))
