import html
def esc(s): return html.escape(s,quote=False)
COLS=[("#801713","#ffffff","#ffb3a3","red","white pips, a bar"),("#2a8a2d","#0c160c","#d9ffd0","green","black pips, a caret"),("#74a6e8","#0c1f4a","#ffffff","blue","navy pips, a zigzag"),("#f6da84","#a3161a","#2b2100","gold","red pips, a cross")]
MARKS=['<path d="M15.5 5.6 H24.5" stroke-width="2.6"/>','<path d="M15 8 L20 3.6 L25 8"/>','<path d="M14.8 7.6 L17.4 4 L20 7.6 L22.6 4 L25.2 7.6"/>','<path d="M16.6 3.6 L23.4 8.2 M23.4 3.6 L16.6 8.2"/>']
PIPS={1:[(20,20)],2:[(11.5,11.5),(28.5,28.5)],3:[(11.5,11.5),(20,20),(28.5,28.5)],4:[(11.5,11.5),(28.5,11.5),(11.5,28.5),(28.5,28.5)],5:[(11.5,11.5),(28.5,11.5),(20,20),(11.5,28.5),(28.5,28.5)],6:[(11.5,11.5),(28.5,11.5),(11.5,20),(28.5,20),(11.5,28.5),(28.5,28.5)]}
def die(x,y,c,face,scale=1.0):
    f,p,ink,_,_=COLS[c]
    s=f'<g transform="translate({x} {y}) scale({scale})"><rect x="1.5" y="1.5" width="37" height="37" rx="7.5" fill="{f}" stroke="#141414" stroke-width="1.6"/><g fill="{p}">'
    s+="".join(f'<circle cx="{a}" cy="{b}" r="3.5"/>' for a,b in PIPS[face])+'</g>'
    s+=f'<g fill="none" stroke="{ink}" stroke-width="2" stroke-linecap="round" stroke-linejoin="round">'+MARKS[c]+'</g></g>'
    return s
def page(w,h,title,body,comment):
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}">
  <!-- {comment} -->
  <rect x="4" y="5" width="{w-4}" height="{h-5}" rx="12" fill="#000000" fill-opacity="0.35"/>
  <rect x="1.5" y="1.5" width="{w-5}" height="{h-6}" rx="12" fill="#f6eed8" stroke="#b08a3e" stroke-width="2.5"/>
  <g font-family="Liberation Sans" fill="#3b2a14">
    <text x="20" y="34" font-size="21" font-weight="bold" fill="#7a1f1f">{esc(title)}</text>
    <text x="{w-20}" y="32" font-size="11" fill="#7a6446" text-anchor="end">click the page to close it</text>
    <line x1="20" y1="44" x2="{w-20}" y2="44" stroke="#b08a3e" stroke-width="1"/>
{body}  </g>
</svg>
'''
def T(x,y,s,size=13,bold=False,fill=None,anchor="start"):
    a=' font-weight="bold"' if bold else ''
    f=f' fill="{fill}"' if fill else ''
    an=f' text-anchor="{anchor}"' if anchor!="start" else ''
    return f'    <text x="{x}" y="{y}" font-size="{size}"{a}{f}{an}>{esc(s)}</text>\n'

# page 1
b=""
lines=["A dice game for one player. Twenty-five dice of four colours fill a board of five rows.",
"In the first half you roll the rows, bottom up, up to three times each; in the second half",
"you swap dice within their rows and score the five columns and the two diagonals. Each hand",
"fills one of the twelve categories of the sheet; dice of one colour earn bonuses, and high",
"column sums raise their multipliers. Your records are kept by your initials."]
for i,l in enumerate(lines): b+=T(20,66+i*17,l,13.5)
b+=T(20,160,"Darkest to lightest, each colour has its own pips and mark:",13.5,True)
for i,(f,p,ink,n,d) in enumerate(COLS):
    x=20+i*160
    b+="    "+die(x,168,i,5,0.9)+"\n"
    b+=T(x+42,186,n,13,True)
    b+=T(x+42,202,d.split(", ")[0]+",",11)
    b+=T(x+42,216,d.split(", ")[1],11)
# The keys of the pages over the game; the board's keys are on page 2.
pagekeys=[("The options page","pad 1, pad 2 window or full screen; pad 3, pad 4, pad 5 hints blinking, shown or none;"),
("","pad 7, pad 8 line markers on or off; pad 9, pad \u00d7 dice at normal speed or fast;"),
("","pad +, pad separator the score preview on or off; 1 to 5 step through a row's choices;"),
("","A to Z, Backspace, Delete, Home, End, Left, Right edit the initials; Enter keeps, Esc leaves."),
("The records page","pad 8 your records, pad 9 all players', pad 2 erase yours, Esc back to the game."),
("These pages","pad 1 this one, pad 4 how to play, pad 2 scoring, Esc back to the game."),
("","On the records and about pages the top row's digits work as the pad's.")]
b+=T(20,246,"Keys of the pages",14,True,"#7a1f1f")
for i,(k,d) in enumerate(pagekeys):
    yy=264+i*15
    if k: b+=T(130,yy,k,11.5,True,None,"end")
    b+=T(138,yy,d,11.5)
open("about-1.svg","w").write(page(700,366,"About Zanbor",b,"About page 1: what the game is, the colour key and the pages' keys."))

# page 2
b=""
left=[("First half",True),("Type your initials on the card of each new game (A to Z;",False),
("Backspace, Delete, Home, End, Left, Right edit them;",False),("Up or Down picks a known player).",False),
("Roll the bottom row: Enter, or click Roll the dice. Click",False),("dice (or press 1 to 5) to hold them; roll up to three times.",False),
("Score the row in a free category; then the next row up.",False),
("Second half",True),("Drag a die onto another in its row to swap them (or",False),("move the cursor with the arrows, Space to pick and drop).",False),("Glowing dice can still move; a scored line's dice stay.",False),
("Pick a line: 1 and 7 the diagonals, 2 to 6 the columns",False),("(or click an arrow), then score it.",False),
("The sheet",True),("The free cells show what the hand would score there (the",False),
("preview); a * and gold mark a colour bonus in it. A cell",False),("that earns a colour bonus sparkles as it fills.",False)]
y=66
for s,bold in left:
    if bold and y>70: y+=4
    b+=T(20,y,s,14 if bold else 12.5,bold,"#7a1f1f" if bold else None); y+=16.5 if not bold else 19
keys=[("Enter","roll the dice"),("1 to 5","hold a die (first half)"),("1 to 7","pick a line (second half)"),("A to L","score Sixes to Two pairs"),
("pad 1 to pad 9","score Sixes to Four of a kind"),("pad \u00d7, pad +","score Straight, Full house"),("pad separator","score Two pairs"),
("arrows, Space","board cursor: pick, swap"),("U","undo the last score"),("T","the coach's advice"),("V","the coach's review of a game"),
("F4 or pad \u2212","second-half help"),("F3 or pad .","new game"),("F2 or pad \u00f7","options"),("0, F1","records, about"),("Esc","quit"),
("Y or 1, N or 0","answer yes or no"),("F11, Alt+Enter","window or full screen")]
b+=T(406,66,"Keys",14,True,"#7a1f1f")
for i,(k,d) in enumerate(keys):
    yy=84+i*15
    b+=T(500,yy,k,12,True,None,"end")
    b+=T(510,yy,d,12)
b+='    <line x1="394" y1="56" x2="394" y2="%d" stroke="#b08a3e" stroke-opacity="0.6"/>\n'%(84+len(keys)*15-6)
open("about-2.svg","w").write(page(700,366,"How to play",b,"About page 2: the first half, the second half, the sheet and the board's keys."))

# page 3
b=""
rows=[("Sixes","12 per six","+3: three sixes of a colour"),("Fives","10 per five","+3: three fives of a colour"),("Fours","8 per four","+3: three fours of a colour"),
("Threes","6 per three","+3: three threes of a colour"),("Twos","4 per two","+3: three twos of a colour"),("Total","sum of the dice","no bonus"),
("Five of a kind","sum + 50","+10: all one colour"),("Flush (one colour)","sum + 40","+10: with 5 of a kind or straight"),("Four of a kind","sum + 30","+8: the four of one colour"),
("Straight 1-5, 2-6","sum + 20","+10 one colour, +5 in order"),("Full house 3 + 2","sum + 10","+5: all one colour"),("Two pairs","sum","+4: pairs in one colour")]
b+=T(20,62,"category",11,True,"#7a6446")+T(148,62,"worth",11,True,"#7a6446")+T(246,62,"colour bonus",11,True,"#7a6446")
for i,(n,v,c) in enumerate(rows):
    yy=78+i*16.5+(6 if i>=6 else 0)
    if i==6: b+='    <line x1="20" y1="%.1f" x2="440" y2="%.1f" stroke="#b08a3e" stroke-opacity="0.6"/>\n'%(yy-14.5,yy-14.5)
    b+=T(20,yy,n,12.5,True)+T(148,yy,v,12.5)+T(246,yy,c,12)
b+=T(20,282,"A hand that misses its category scores 0; the category is used up.",11.5,False,"#5a4630")
b+=T(20,298,"Five of a kind also counts as a Full house, four of a kind as Two pairs.",11.5,False,"#5a4630")
b+='    <line x1="452" y1="56" x2="452" y2="286" stroke="#b08a3e" stroke-opacity="0.6"/>\n'
b+=T(466,66,"Levels and multipliers",14,True,"#7a1f1f")
b+=T(466,86,"left: Sixes to Total",11.5,True)+T(582,86,"right: the others",11.5,True)
for i,((l1,m1),(l2,m2)) in enumerate(zip([(80,2),(100,4),(120,6),(140,8),(160,10)],[(100,2),(150,3),(200,4),(250,5),(300,6)])):
    yy=106+i*17
    b+=T(470,yy,f"{i+1}",12,True,"#7a1f1f")+T(528,yy,f"over {l1}",12,False,None,"end")+T(556,yy,f"\u00d7{m1}",12,True,None,"end")
    b+=T(586,yy,f"{i+1}",12,True,"#7a1f1f")+T(648,yy,f"over {l2}",12,False,None,"end")+T(676,yy,f"\u00d7{m2}",12,True,None,"end")
for i,l in enumerate(["The score: each column's sum","times the multiplier of the level","it reaches, added together.","Below level 1 a sum counts once."]):
    b+=T(466,206+i*17,l,12)
open("about-3.svg","w").write(page(700,316,"Scoring",b,"About page 3: every category's worth and colour bonus, the levels and multipliers."))
