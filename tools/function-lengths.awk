# Prints "file:line: start of the function (N lines)" for each function body
# longer than max lines (awk -v max=100 -f function-lengths.awk FILE...). A body
# is a brace block opened where only namespaces, classes and extern blocks
# enclose it, after a ")" and not as an initialiser; comments and strings are
# blanked first. Rough, but it needs nothing beyond awk.
function strip(s) {
    gsub(/"([^"\\]|\\.)*"/, "\"\"", s)
    gsub(/'([^'\\]|\\.)*'/, "''", s)
    if (incomment) {
        if (index(s, "*/") == 0) return ""
        s = substr(s, index(s, "*/") + 2); incomment = 0
    }
    gsub(/\/\*[^*]*\*+([^\/*][^*]*\*+)*\//, "", s)
    if (index(s, "/*") > 0) { s = substr(s, 1, index(s, "/*") - 1); incomment = 1 }
    sub(/\/\/.*/, "", s)
    return s
}
FNR == 1 { depth = 0; incomment = 0; head = ""; sp = 0 }
{
    line = strip($0)
    n = length(line)
    for (i = 1; i <= n; i++) {
        c = substr(line, i, 1)
        if (c == "{") {
            text = head substr(line, 1, i - 1)
            transparent = 1
            for (k = 1; k <= sp; k++) if (!open[k]) transparent = 0
            kind = 0
            if (transparent && text !~ /(namespace|class|struct|union|enum|extern)[^;(){}]*$/ &&
                text !~ /=[ \t]*$/ && text ~ /\)[^;{}]*$/) kind = 1
            sp++
            open[sp] = (text ~ /(namespace|class|struct|union|extern)[^;(){}]*$/) ? 1 : 0
            isfunc[sp] = kind; start[sp] = FNR; name[sp] = text
            head = ""
            line2 = substr(line, i + 1); line = line2; n = length(line); i = 0
        } else if (c == "}") {
            if (sp > 0) {
                if (isfunc[sp] && FNR - start[sp] + 1 > max) {
                    nm = name[sp]; gsub(/[ \t]+/, " ", nm); sub(/^ /, "", nm)
                    printf "%s:%d: %s (%d lines)\n", FILENAME, start[sp], substr(nm, 1, 80), FNR - start[sp] + 1
                }
                sp--
            }
            head = ""
            line = substr(line, i + 1); n = length(line); i = 0
        } else if (c == ";") {
            head = ""
            line = substr(line, i + 1); n = length(line); i = 0
        }
    }
    head = head " " line
    if (length(head) > 400) head = substr(head, length(head) - 400)
}
