HEAD='''<svg xmlns="http://www.w3.org/2000/svg" width="800" height="600">
  <!-- {comment} -->
  <defs>
    <radialGradient id="felt" cx="0.5" cy="0.45" r="0.75">
      <stop offset="0" stop-color="#23694e"/><stop offset="0.7" stop-color="#1a513c"/><stop offset="1" stop-color="#0f3325"/>
    </radialGradient>
    <linearGradient id="wood" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#7a4b26"/><stop offset="1" stop-color="#4a2a12"/>
    </linearGradient>
  </defs>
  <rect width="800" height="600" fill="url(#felt)"/>
  <rect x="3" y="3" width="794" height="594" rx="10" fill="none" stroke="#4a2a12" stroke-width="6"/>
  <rect x="7" y="7" width="786" height="586" rx="8" fill="none" stroke="#d9b45a" stroke-opacity="0.5" stroke-width="1"/>
  <g font-family="Liberation Sans">
'''
BOLD=' font-weight="bold"'
W={'a':556,'b':611,'c':556,'d':611,'e':556,'f':333,'g':611,'h':611,'i':278,'k':556,'l':278,'m':889,'n':611,'o':611,'r':389,'s':556,'t':333,'u':611,'w':778,' ':278,'B':722,'F':611,'N':722,'O':778,'S':667,'W':944,'A':722,'M':833}
def width(text,size): return sum(W.get(c,600) for c in text)*size/1000
def plaque(title,cx=400,w=240,y=14):
    return f'''    <rect x="{cx-w/2}" y="{y}" width="{w}" height="40" rx="9" fill="url(#wood)" stroke="#d9b45a" stroke-width="2"/>
    <text x="{cx}" y="{y+27}" font-size="22" font-weight="bold" fill="#ffd23f" text-anchor="middle" letter-spacing="1">{title}</text>
'''
TAIL='''  </g>
</svg>
'''
def card(x,y,w,h):
    return f'    <rect x="{x}" y="{y}" width="{w}" height="{h}" rx="10" fill="#0c261c" fill-opacity="0.85" stroke="#d9b45a" stroke-width="2"/>\n'
def paper(x,y,w,h):
    return f'    <rect x="{x}" y="{y}" width="{w}" height="{h}" rx="10" fill="#f6eed8" stroke="#d9b45a" stroke-width="2"/>\n'
def t(x,y,text,size=15,bold=True,fill="#f6ecd2",anchor="start"):
    b=BOLD if bold else ""
    return f'    <text x="{x}" y="{y}" font-size="{size}"{b} fill="{fill}" text-anchor="{anchor}">{text}</text>\n'
def key(x,y,text):
    w=len(text)*6.4+8
    return (f'    <rect x="{x}" y="{y-12}" width="{w}" height="16" rx="3" fill="#efe4c6" stroke="#1a120a"/>\n'
            f'    <text x="{x+w/2}" y="{y}" font-size="11" font-weight="bold" fill="#2a1c0c" text-anchor="middle">{text}</text>\n')

o=HEAD.format(comment="The options page: sliders for the two volumes (knob x 300 to 500), latches with their labels beside them (where their click areas lie), the initials field, OK and Cancel.")
o+=plaque("Options")
o+=card(56,74,688,420)
for y,label in [(117,"Sound effects"),(186,"Music")]:
    o+=t(270,y+5,label,16,True,"#f6ecd2","end")
    o+=f'    <rect x="296" y="{y-4}" width="208" height="8" rx="4" fill="#081a13" stroke="#d9b45a" stroke-width="1.2"/>\n'
    for i in range(11):
        x=300+20*i
        o+=f'    <line x1="{x}" y1="{y+16}" x2="{x}" y2="{y+ (22 if i%5==0 else 19)}" stroke="#d9b45a" stroke-width="1.2"/>\n'
    o+=t(300,y+35,"0",11,False,"#d8cba8","middle")+t(500,y+35,"100",11,False,"#d8cba8","middle")
    o+=t(522,y+5,"drag the knob",12,False,"#d8cba8")
# Each row: its latches with their numeric-pad keys; the digit key of the row (the top row of
# every keyboard) steps through the row's choices.
rows=[(226,"Screen","1",[(298,"Window","pad 1"),(459,"Full screen","pad 2")]),
      (279,"Hints","2",[(298,"Blinking","pad 3"),(459,"Shown","pad 4"),(634,"None","pad 5")]),
      (331,"Line markers","3",[(298,"On","pad 7"),(459,"Off","pad 8")])]
for y,label,digit,items in rows:
    o+=t(262,y+18,label,16,True,"#f6ecd2","end")
    o+=key(262-width(label,16)-24,y+17,digit)
    for x,name,k in items:
        lx=x+(x==298)*7+(x==459)*9+(x==634)*13
        o+=t(lx,y+18,name,15)
        o+=key(lx+8+width(name,15),y+17,k)
# The dice speed and the score preview share a row; their latches stand at 277, 373, 559, 622 (words 28 px right).
y=364
o+=t(262,y+18,"Dice",16,True,"#f6ecd2","end")+key(262-width("Dice",16)-24,y+17,"4")
for x,name in [(298,"Normal"),(394,"Fast")]:
    o+=t(x+7,y+18,name,15)
o+=t(552,y+18,"Preview",16,True,"#f6ecd2","end")+key(552-width("Preview",16)-24,y+17,"5")
for x,name in [(587,"On"),(650,"Off")]:
    o+=t(x,y+18,name,15)
o+=t(262,419,"Initials",16,True,"#f6ecd2","end")
o+=f'    <rect x="276" y="395" width="180" height="36" rx="6" fill="#fbf6e8" stroke="#d9b45a" stroke-width="2"/>\n'
o+=t(468,418,"up to 7 letters",12,False,"#d8cba8")
o+=t(400,580,"Enter: OK  ·  Esc: Cancel  ·  1 to 5: the rows",13,True,"#d9b45a","middle")
o+=TAIL
open("options-background.svg","w").write(o)

r=HEAD.format(comment="The records page: the player, the best ten and the latest ten (scores and initials columns), the averages and counts, the table latches, erase and back.")
r+=plaque("Records",125,170,y=14)
r+=t(268,56,"Player",15,True,"#f6ecd2","end")
r+=f'    <rect x="276" y="38" width="184" height="25" rx="6" fill="#fbf6e8" stroke="#d9b45a" stroke-width="2"/>\n'
for x,title in [(95,"The best ten"),(425,"The latest ten")]:
    r+=paper(x,66,270,296)
    r+=t(x+135,81,title,14,True,"#7a1f1f","middle")
    for i in range(10):
        yy=86+i*22
    r+=f'    <line x1="{x+14}" y1="326" x2="{x+256}" y2="326" stroke="#b08a3e" stroke-opacity="0.6"/>\n'
    r+=t(x+118,355,"Average",14,True,"#3b2a14","end")
r+=paper(300,378,300,88)
r+=t(525,409,"Games started",14,True,"#3b2a14","end")
r+=t(525,433,"Games finished",14,True,"#3b2a14","end")
r+=t(525,457,"Average score",14,True,"#3b2a14","end")
r+=t(228,503,"My records",15)+key(123,502,"8 or pad 8")
r+=t(228,534,"All players",15)+key(123,533,"9 or pad 9")
r+=t(414,536,"2 or pad 2",11,True,"#d9b45a","middle")+t(523,536,"Esc",11,True,"#d9b45a","middle")
r+=TAIL
open("stats-background.svg","w").write(r)

a=HEAD.format(comment="The about page: the buttons for the three pages (their keys under them) and the back button; the pages open over the table.")
a+=plaque("About Zanbor",400,260)
a+=card(80,400,250,178)
for x,y,k in [(147,478,"4 or pad 4"),(259,478,"2 or pad 2"),(141,562,"1 or pad 1"),(269,562,"Esc")]:
    a+=t(x,y,k,11,True,"#d9b45a","middle")
a+=t(205,420,"Choose a page",14,True,"#f6ecd2","middle")
a+=TAIL
open("about-background.svg","w").write(a)
