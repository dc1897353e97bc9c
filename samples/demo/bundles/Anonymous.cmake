# No bundle identifier: it cannot keep a language of its own.
set(identifier "")
set(version 1.1)
set(icon "#7f8c8d" ?)
set(languages en es)
name(es Anónimo)
